#pragma once
// Gamma ramp arithmetic: pure functions over plain 16-bit tables. Reading and writing the display
// go through platform::GammaDevice only.

#include <array>
#include <cstdint>

#include "platform/gamma_device.h"

namespace lumenor::display {

// The ramp table is the gamma seam's; the arithmetic below works on it under these names.
using platform::GammaRamp;
using platform::kRampChannels;
using platform::kRampLevels;
using platform::RampIndex;

// An entry as a level 0 … 65534: entries from 32768 up lose one, so 32767 and 32768 both give
// 32767.
std::int32_t WordToLevel(std::uint16_t entry);
// The inverse of WordToLevel: levels above 32767 gain one back. Levels outside 0 … 65534 are held
// at the nearer end, so no level wraps round to the other end of the ramp.
std::uint16_t LevelToWord(std::int32_t level);
// Moves a level towards black (v < 0) or towards full (v > 0) by |v| percent; the sliders never
// pass 0. The result is the exact 32-bit product divided by 100 (and taken from 65535) as in
// double precision, rounded to the nearest integer, halves to the even one.
// v is held inside the sliders' -50 … 50 and the level inside 0 … 65534, so the result always is
// a level 0 … 65534.
std::int32_t AdjustLevel(std::int16_t v, std::int32_t level);

// The ramp that changes nothing: entry (i, c) is i × 257, from 0 to 65535.
GammaRamp StraightRamp();

// The main window's display state: the reference ramp every slider rebuilds from, the ramp last
// built, and the display both are read from and written to. Each Apply ends with exactly one write
// to the display and returns whether the display took the ramp; BuildChannel writes nothing (and
// builds nothing for a channel other than 0 … 2).
class GammaAdjuster {
 public:
  explicit GammaAdjuster(platform::GammaDevice& display);

  // Reads the display's current ramp into SavedRamp; a failed read leaves it as it was and
  // returns false.
  bool ReadSavedFromDisplay();

  bool ApplyBrightness(std::int16_t brightness);        // -50 … 50, every channel from red
  void BuildChannel(std::int16_t colour, int channel);  // -50 … 50, one channel from itself
  bool ApplyColours(const std::array<std::int16_t, 3>& colours);  // red, green, blue in order
  bool ApplyContrast(std::int16_t contrast);                      // 1 … 300, signed reading
  bool ApplySaved();                                              // writes SavedRamp as it stands

  GammaRamp& SavedRamp() { return saved_; }
  const GammaRamp& SavedRamp() const { return saved_; }
  const GammaRamp& WorkingRamp() const { return working_; }

 private:
  platform::GammaDevice& display_;
  GammaRamp saved_{};
  GammaRamp working_{};
};

}  // namespace lumenor::display
