#pragma once
// What the program keeps of a display that went away (a monitor's sleep, a lid closed, Win+P, a
// dock), so that it comes back as it left: its reference, whether it was included, and the ramp
// Lumenor put on it last. Without it the display would come back as a new one: its reference read
// from Lumenor's own ramp, and the last operation applied on top of its dimming.

#include <cstddef>
#include <optional>
#include <vector>

#include "display/gamma_ramp.h"
#include "display/ramp_keeper.h"
#include "platform/displays.h"

namespace lumenor::display {

struct DepartedDisplay {
  platform::DisplayInfo info;
  GammaRamp reference{};
  bool included = true;
  bool yielded = false;  // another program's ramp was on it
  RampKeeper::Memory kept;
};

class DepartedDisplays {
 public:
  // One record per display identity: the latest replaces the one before.
  void Keep(DepartedDisplay departed);
  // The record of that display, taken out; empty when none is kept.
  std::optional<DepartedDisplay> TakeBack(const platform::DisplayInfo& info);

 private:
  static constexpr std::size_t kMostKept = 16;  // more monitors than a desk has seen
  std::vector<DepartedDisplay> records_;  // an empty identity marks a record taken back
  std::size_t oldest_ = 0;
};

}  // namespace lumenor::display
