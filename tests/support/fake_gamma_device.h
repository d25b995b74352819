#pragma once
// A display with a gamma ramp that records every write and can refuse ramps.
#include <functional>
#include <vector>

#include "platform/gamma_device.h"

namespace lumenor::testing {

class FakeGammaDevice : public platform::GammaDevice {
 public:
  bool ReadRamp(platform::GammaRamp& ramp) override;
  bool WriteRamp(const platform::GammaRamp& ramp) override;

  platform::GammaRamp shown{};  // what the display shows now
  bool readable = true;         // false: reads fail and leave the ramp alone
  std::function<bool(const platform::GammaRamp&)> accepts = [](const platform::GammaRamp&) {
    return true;
  };
  bool answersNoWhenApplied = false;        // a driver that reports failure for ramps it did apply
  bool answersYesWhenRefused = false;       // a driver that reports success for ramps it refused
  bool eightBitReadback = false;            // reads give each entry's high byte twice, as Wine does
  bool failsNextWrite = false;  // the next write answers no and changes nothing (a driver that
                                // fails its first call), then it is cleared
  std::vector<platform::GammaRamp> writes;  // every ramp handed to the display, in order
  int reads = 0;
};

// Which ramps a display takes, for FakeGammaDevice::accepts, as each system was seen to decide.
// Wine: every brightening of the straight ramp is refused (the lowest entry lifted off black).
bool WineAccepts(const platform::GammaRamp& ramp);
// Stock Windows (without GdiIcmGammaRange): a ramp far from the straight one is refused, in
// either direction; strong darkening and low contrast above all.
bool WindowsAccepts(const platform::GammaRamp& ramp);

}  // namespace lumenor::testing
