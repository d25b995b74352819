// The gamma contract against the desktop's device context: the real GetDeviceGammaRamp and
// SetDeviceGammaRamp. Needs a display with a gamma ramp (run on the headless desktop).
#include <memory>

#include "platform/gamma_contract.h"
#include "platform/gamma_device_win32.h"

namespace lumenor::testing {
namespace {

struct DesktopDisplay {
  static std::unique_ptr<platform::GammaDevice> Make() {
    return std::make_unique<platform::DesktopGammaDevice>();
  }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Desktop, GammaDevice_Contract, DesktopDisplay);

}  // namespace
}  // namespace lumenor::testing
