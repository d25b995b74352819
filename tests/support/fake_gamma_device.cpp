#include "support/fake_gamma_device.h"

#include <cstdlib>

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
  if (failsNextWrite) {
    failsNextWrite = false;
    return false;
  }
  if (!accepts(ramp)) return answersYesWhenRefused;
  shown = ramp;
  return !answersNoWhenApplied;
}

bool WineAccepts(const platform::GammaRamp& ramp) {
  return ramp[0] == 0;
}

bool WindowsAccepts(const platform::GammaRamp& ramp) {
  // How far an entry may stray from the straight ramp's (i × 257).
  constexpr int kFarthest = 0x6000;
  for (std::size_t k = 0; k < ramp.size(); ++k) {
    const int straight = static_cast<int>(k % 256) * 257;
    if (std::abs(static_cast<int>(ramp[k]) - straight) > kFarthest) return false;
  }
  return true;
}

}  // namespace lumenor::testing
