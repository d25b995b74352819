// The gamma contract against the fake display the unit tests use, set up to refuse what Windows
// and Wine refuse: a channel that is flat or runs downwards.
#include <memory>

#include "platform/gamma_contract.h"
#include "support/fake_gamma_device.h"

namespace lumenor::testing {
namespace {

bool RisingChannels(const app::GammaRamp& ramp) {
  for (int c = 0; c < app::kRampChannels; ++c) {
    if (ramp[app::RampIndex(255, c)] <= ramp[app::RampIndex(0, c)]) return false;
    for (int i = 1; i < app::kRampLevels; ++i) {
      if (ramp[app::RampIndex(i, c)] < ramp[app::RampIndex(i - 1, c)]) return false;
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
