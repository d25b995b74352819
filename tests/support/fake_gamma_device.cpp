#include "support/fake_gamma_device.h"

namespace lumenor::testing {

bool FakeGammaDevice::ReadRamp(platform::GammaRamp& ramp) {
  ++reads;
  if (!readable) return false;
  ramp = shown;
  if (eightBitReadback) {
    for (auto& entry : ramp) entry = static_cast<std::uint16_t>((entry & 0xFF00) | (entry >> 8));
  }
  return true;
}

bool FakeGammaDevice::WriteRamp(const platform::GammaRamp& ramp) {
  writes.push_back(ramp);
  if (!accepts(ramp)) return answersYesWhenRefused;
  shown = ramp;
  return !answersNoWhenApplied;
}

}  // namespace lumenor::testing
