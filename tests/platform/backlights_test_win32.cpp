// The backlight seam with the real dxva2 calls. Under plain Wine, dxva2 offers no physical
// monitor; the desktop scenario test_simulated_monitor.py runs this again with the simulated
// monitor installed behind \\.\DISPLAY1 (in clone mode: a panel without DDC/CI, then a monitor at
// level 80 of 120; null handles at the first ask) and LUMENOR_SIMULATED_MONITOR set, and reads what
// the monitor was told from its side.
#include "platform/backlights_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/displays_win32.h"

namespace lumenor::platform {
namespace {

DisplayInfo Primary() {
  Win32Displays displays;
  for (const DisplayInfo& display : displays.Attached(Displays::Look::Thorough))
    if (display.primary) return display;
  return {};
}

bool Simulated() {
  return GetEnvironmentVariableW(L"LUMENOR_SIMULATED_MONITOR", nullptr, 0) != 0;
}

TEST(Win32Backlights_Open, ReadsAndWritesEachMonitorBehindTheDisplayOnItsOwnAndNoneWithoutOne) {
  const DisplayInfo primary = Primary();
  ASSERT_FALSE(primary.deviceName.empty());
  Win32Backlights backlights;
  std::vector<std::shared_ptr<MonitorBacklight>> monitors = backlights.Open(primary);
  if (!Simulated()) {
    EXPECT_TRUE(monitors.empty()) << "Wine's own dxva2 has no physical monitor to offer";
    return;
  }
  ASSERT_EQ(monitors.size(), 2u) << "the handles that came back null were not asked for again";
  EXPECT_EQ(monitors[0]->Read(), std::nullopt) << "the panel without DDC/CI";
  EXPECT_EQ(monitors[1]->Read(), (BacklightLevel{80, 120}));
  EXPECT_TRUE(monitors[1]->Write(30));
  EXPECT_EQ(monitors[1]->Read(), (BacklightLevel{30, 120}));

  // Windows destroys the handles (a mode change, sleep): only fresh ones reach the monitor.
  WritePrivateProfileStringW(L"monitor", L"generation", L"1",
                             L"C:\\lumenor-monitor\\DISPLAY1.live");
  EXPECT_EQ(monitors[1]->Read(), std::nullopt) << "a destroyed handle";
  const std::vector<std::shared_ptr<MonitorBacklight>> fresh = backlights.Open(primary);
  ASSERT_EQ(fresh.size(), 2u);
  EXPECT_EQ(fresh[1]->Read(), (BacklightLevel{30, 120}));

  DisplayInfo gone = primary;
  gone.deviceName = "\\\\.\\DISPLAY9";
  EXPECT_TRUE(backlights.Open(gone).empty()) << "a display that is not attached";
}

}  // namespace
}  // namespace lumenor::platform
