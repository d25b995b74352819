// The gamma contract against each display's own device context: the real GetDeviceGammaRamp and
// SetDeviceGammaRamp. Needs a display with a gamma ramp (run on the headless desktop).
#include <memory>

#include "platform/displays_win32.h"
#include "platform/gamma_contract.h"

namespace lumenor::testing {
namespace {

// The primary display, as the program opens it: by the device name Windows lists for it.
struct PrimaryDisplay {
  static std::unique_ptr<platform::GammaDevice> Make() {
    platform::Win32Displays displays;
    for (const platform::DisplayInfo& display : displays.Attached()) {
      if (display.primary) return displays.OpenGamma(display);
    }
    return nullptr;
  }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Display, GammaDevice_Contract, PrimaryDisplay);

}  // namespace
}  // namespace lumenor::testing
