#include "support/fake_gamma_device.h"

namespace lumenor::testing {

bool FakeGammaDevice::ReadRamp(platform::GammaRamp& ramp) {
  ++reads;
  if (!readable) return false;
  ramp = shown;
  return true;
}

bool FakeGammaDevice::WriteRamp(const platform::GammaRamp& ramp) {
  writes.push_back(ramp);
  if (!accepts(ramp)) return false;
  shown = ramp;
  return true;
}

}  // namespace lumenor::testing
