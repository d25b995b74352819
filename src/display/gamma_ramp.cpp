#include "display/gamma_ramp.h"

#include <algorithm>

#include "platform/gamma_device.h"

namespace lumenor::display {
namespace {

constexpr std::int32_t kFull = 65535;
constexpr std::int32_t kTopLevel = 65534;
// The sliders' range. Beyond it the formulas leave 0 … 65534 (a setting above 50 turns the top
// levels into 65535, which LevelToWord would wrap to black), so settings are held inside it.
constexpr std::int16_t kMaxSetting = 50;

// The nearest integer to numerator / 100, halves to the even one. Worked in integers this gives
// the same result as the division in double rounded to nearest-even (a quotient that is not a
// half lies at least 0.01 from one, far beyond the double's error), without a floating-point
// rounding call: MinGW's nearbyint alone costs tens of nanoseconds, which made a rebuild of the
// 768 entries take over 30 µs there. It also cannot be swayed by a rounding mode that other code
// left set.
constexpr std::int32_t DivideBy100RoundingHalfToEven(std::int32_t numerator) {
  const bool negative = numerator < 0;
  const std::uint32_t magnitude =
      negative ? 0U - static_cast<std::uint32_t>(numerator) : static_cast<std::uint32_t>(numerator);
  const std::uint32_t quotient = magnitude / 100;
  const std::uint32_t remainder = magnitude % 100;
  // Without branches: which way a remainder goes cannot be predicted from entry to entry.
  const std::uint32_t rounded =
      quotient +
      static_cast<std::uint32_t>((remainder > 50) | ((remainder == 50) & (quotient & 1U)));
  return negative ? -static_cast<std::int32_t>(rounded) : static_cast<std::int32_t>(rounded);
}

constexpr std::int32_t ToLevel(std::uint16_t entry) {
  return std::int32_t{entry} - std::int32_t{entry >= 32768};
}

// For a level 0 … 65534 only.
constexpr std::uint16_t ToEntry(std::int32_t level) {
  return static_cast<std::uint16_t>(level + std::int32_t{level > 32767});
}

// AdjustLevel for one setting, worked out once per operation: both formulas are
// (factor × level + offset) / 100. For v < 0 that is (100 + v) × level / 100; for v > 0,
// 65535 − (100 − v) × (65535 − level) / 100 = ((100 − v) × level + 65535 × v) / 100.
struct LevelAdjustment {
  std::int32_t factor;
  std::int32_t offset;

  explicit constexpr LevelAdjustment(std::int16_t v) : factor(100), offset(0) {
    v = std::clamp(v, static_cast<std::int16_t>(-kMaxSetting), kMaxSetting);
    if (v < 0) {
      factor = 100 + v;
    } else {
      factor = 100 - v;
      offset = kFull * v;
    }
  }

  // For a level 0 … 65534; the result is one too.
  constexpr std::int32_t Level(std::int32_t level) const {
    return DivideBy100RoundingHalfToEven(factor * level + offset);
  }

  constexpr std::uint16_t Entry(std::uint16_t entry) const {
    return ToEntry(Level(ToLevel(entry)));
  }
};

std::int16_t SignedReading(std::uint16_t entry) {
  return static_cast<std::int16_t>(entry);
}

}  // namespace

std::int32_t WordToLevel(std::uint16_t entry) {
  return ToLevel(entry);
}

std::uint16_t LevelToWord(std::int32_t level) {
  return ToEntry(std::clamp(level, std::int32_t{0}, kTopLevel));
}

std::int32_t AdjustLevel(std::int16_t v, std::int32_t level) {
  return LevelAdjustment(v).Level(std::clamp(level, std::int32_t{0}, kTopLevel));
}

GammaAdjuster::GammaAdjuster(platform::GammaDevice& display) : display_(display) {}

GammaRamp StraightRamp() {
  GammaRamp ramp{};
  for (int level = 0; level < kRampLevels; ++level) {
    for (int channel = 0; channel < kRampChannels; ++channel) {
      ramp[RampIndex(level, channel)] = static_cast<std::uint16_t>(level * 257);
    }
  }
  return ramp;
}

bool GammaAdjuster::ReadSavedFromDisplay() {
  return display_.ReadRamp(saved_);
}

bool GammaAdjuster::ApplyBrightness(std::int16_t brightness) {
  // Every channel is built from the red one.
  const LevelAdjustment adjustment(brightness);
  for (int level = 0; level < kRampLevels; ++level) {
    const std::uint16_t red = saved_[RampIndex(level, 0)];
    const std::uint16_t out = brightness == 0 ? red : adjustment.Entry(red);
    for (int channel = 0; channel < kRampChannels; ++channel) {
      working_[RampIndex(level, channel)] = out;
    }
  }
  return display_.WriteRamp(working_);
}

void GammaAdjuster::BuildChannel(std::int16_t colour, int channel) {
  if (channel < 0 || channel >= kRampChannels) return;  // no such channel: nothing to build
  const std::size_t first = RampIndex(0, channel);
  if (colour == 0) {
    std::copy_n(saved_.begin() + first, kRampLevels, working_.begin() + first);
    return;
  }
  const LevelAdjustment adjustment(colour);
  for (std::size_t i = first; i < first + kRampLevels; ++i) {
    working_[i] = adjustment.Entry(saved_[i]);
  }
}

bool GammaAdjuster::ApplyColours(const std::array<std::int16_t, 3>& colours) {
  for (int channel = 0; channel < kRampChannels; ++channel) BuildChannel(colours[channel], channel);
  return display_.WriteRamp(working_);
}

bool GammaAdjuster::ApplyContrast(std::int16_t contrast) {
  for (std::size_t i = 0; i < saved_.size(); ++i) {
    const std::int32_t product = contrast * std::int32_t{SignedReading(saved_[i])};
    // Held at -32767, not -32768: the lowest entry the contrast gives is 0x8001. Holding the
    // rounded quotient gives the same as holding the quotient and rounding it after.
    const std::int32_t x = std::clamp(DivideBy100RoundingHalfToEven(product), -32767, 32767);
    working_[i] = static_cast<std::uint16_t>(static_cast<std::int16_t>(x));
  }
  return display_.WriteRamp(working_);
}

bool GammaAdjuster::ApplySaved() {
  return display_.WriteRamp(saved_);
}

}  // namespace lumenor::display
