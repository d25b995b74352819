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
  std::vector<platform::GammaRamp> writes;  // every ramp handed to the display, in order
  int reads = 0;
};

}  // namespace lumenor::testing
