#include "app/gamma_ramp.h"

#include <algorithm>
#include <cmath>

#include "platform/gamma_device.h"

namespace lumenor::app {
namespace {

constexpr std::int32_t kFull = 65535;
constexpr std::int32_t kTopLevel = 65534;
// The sliders' range. Beyond it the formulas leave 0 … 65534 (a setting above 50 turns the top
// levels into 65535, which LevelToWord would wrap to black), so settings are held inside it.
constexpr std::int16_t kMaxSetting = 50;

// The nearest integer, halves to the even one (the default rounding mode).
std::int32_t RoundHalfEven(double x) {
  return static_cast<std::int32_t>(std::nearbyint(x));
}

std::int16_t SignedReading(std::uint16_t entry) {
  return static_cast<std::int16_t>(entry);
}

}  // namespace

std::int32_t WordToLevel(std::uint16_t entry) {
  return entry < 32768 ? std::int32_t{entry} : std::int32_t{entry} - 1;
}

std::uint16_t LevelToWord(std::int32_t level) {
  level = std::clamp(level, std::int32_t{0}, kTopLevel);
  return static_cast<std::uint16_t>(level <= 32767 ? level : level + 1);
}

std::int32_t AdjustLevel(std::int16_t v, std::int32_t level) {
  v = std::clamp(v, static_cast<std::int16_t>(-kMaxSetting), kMaxSetting);
  level = std::clamp(level, std::int32_t{0}, kTopLevel);
  if (v < 0) {
    const std::int32_t product = (100 + v) * level;
    return RoundHalfEven(product / 100.0);
  }
  const std::int32_t product = (100 - v) * (kFull - level);
  return RoundHalfEven(kFull - product / 100.0);
}

GammaAdjuster::GammaAdjuster(platform::GammaDevice& display) : display_(display) {}

void GammaAdjuster::ReadSavedFromDisplay() {
  display_.ReadRamp(saved_);
}

void GammaAdjuster::ApplyBrightness(std::int16_t brightness) {
  for (int level = 0; level < kRampLevels; ++level) {
    const std::uint16_t red = saved_[RampIndex(level, 0)];
    const std::uint16_t out =
        brightness == 0 ? red : LevelToWord(AdjustLevel(brightness, WordToLevel(red)));
    for (int channel = 0; channel < kRampChannels; ++channel)
      working_[RampIndex(level, channel)] = out;
  }
  display_.WriteRamp(working_);
}

void GammaAdjuster::BuildChannel(std::int16_t colour, int channel) {
  if (channel < 0 || channel >= kRampChannels) return;  // no such channel: nothing to build
  for (int level = 0; level < kRampLevels; ++level) {
    const std::uint16_t in = saved_[RampIndex(level, channel)];
    working_[RampIndex(level, channel)] =
        colour == 0 ? in : LevelToWord(AdjustLevel(colour, WordToLevel(in)));
  }
}

void GammaAdjuster::ApplyColours(const std::array<std::int16_t, 3>& colours) {
  for (int channel = 0; channel < kRampChannels; ++channel) BuildChannel(colours[channel], channel);
  display_.WriteRamp(working_);
}

void GammaAdjuster::ApplyContrast(std::int16_t contrast) {
  for (std::size_t i = 0; i < saved_.size(); ++i) {
    const std::int32_t product = contrast * std::int32_t{SignedReading(saved_[i])};
    double x = product / 100.0;
    // -32767, not -32768: the lowest entry the contrast gives is 0x8001.
    if (x > 32767.0) x = 32767.0;
    if (x < -32767.0) x = -32767.0;
    working_[i] = static_cast<std::uint16_t>(static_cast<std::int16_t>(RoundHalfEven(x)));
  }
  display_.WriteRamp(working_);
}

void GammaAdjuster::ApplySaved() {
  display_.WriteRamp(saved_);
}

}  // namespace lumenor::app
