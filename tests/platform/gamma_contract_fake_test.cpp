// The gamma contract against the fake display the unit tests use, set up to refuse what Windows
// and Wine refuse: a channel that is flat or runs downwards.
#include <memory>

#include "platform/gamma_contract.h"
#include "support/fake_gamma_device.h"

namespace lumenor::testing {
namespace {

bool RisingChannels(const display::GammaRamp& ramp) {
  for (int c = 0; c < display::kRampChannels; ++c) {
    if (ramp[display::RampIndex(255, c)] <= ramp[display::RampIndex(0, c)]) return false;
    for (int i = 1; i < display::kRampLevels; ++i) {
      if (ramp[display::RampIndex(i, c)] < ramp[display::RampIndex(i - 1, c)]) return false;
    }
  }
  return true;
}

struct FakeDisplay {
  static std::unique_ptr<platform::GammaDevice> Make() {
    auto display = std::make_unique<FakeGammaDevice>();
    display->shown = StraightGammaRamp();
    display->accepts = RisingChannels;
    return display;
  }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, GammaDevice_Contract, FakeDisplay);

}  // namespace
}  // namespace lumenor::testing
