// The gamma contract against each display's own device context: the real GetDeviceGammaRamp and
// SetDeviceGammaRamp. Needs a display with a gamma ramp (run on the headless desktop).
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/displays_win32.h"
#include "platform/gamma_contract.h"

namespace lumenor::testing {
namespace {

// The primary display, as the program opens it: by the device name Windows lists for it.
struct PrimaryDisplay {
  static std::unique_ptr<platform::GammaDevice> Make() {
    platform::Win32Displays displays;
    for (const platform::DisplayInfo& display : displays.Attached(platform::Displays::Look::Thorough)) {
      if (display.primary) return displays.OpenGamma(display);
    }
    return nullptr;
  }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Display, GammaDevice_Contract, PrimaryDisplay);

// One primary display with a size at the desktop's origin; the tick's quick look answers what the
// thorough one did, and each display opens a device context of its own.
TEST(Win32Displays, ThePrimaryHasASizeAndAQuickLookAnswersAsTheThoroughOne) {
  platform::Win32Displays displays;
  const std::vector<platform::DisplayInfo> thorough =
      displays.Attached(platform::Displays::Look::Thorough);
  ASSERT_FALSE(thorough.empty());
  EXPECT_EQ(std::count_if(thorough.begin(), thorough.end(),
                          [](const platform::DisplayInfo& d) { return d.primary; }),
            1);
  for (const platform::DisplayInfo& display : thorough) {
    EXPECT_GT(display.bounds.Width(), 0) << display.deviceName;
    EXPECT_FALSE(display.identity.empty()) << display.deviceName;
    EXPECT_NE(displays.OpenGamma(display), nullptr) << display.deviceName;
    if (display.primary) {
      EXPECT_EQ(display.bounds.left, 0);
    }
  }
  EXPECT_EQ(displays.Attached(platform::Displays::Look::Quick), thorough);
}

}  // namespace
}  // namespace lumenor::testing
