// The backlight seam with the real dxva2 calls. Under plain Wine, dxva2 offers no physical
// monitor; the desktop scenario test_simulated_monitor.py runs this again with the simulated
// monitor installed behind \\.\DISPLAY1 (level 80 of 120, null handles at the first ask) and
// LUMENOR_SIMULATED_MONITOR set, and reads what the monitor was told from its side.
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

TEST(Win32Backlights_Open, ReadsAndWritesTheMonitorBehindTheDisplayAndNoneWithoutOne) {
  const DisplayInfo primary = Primary();
  ASSERT_FALSE(primary.deviceName.empty());
  Win32Backlights backlights;
  std::shared_ptr<MonitorBacklight> monitor = backlights.Open(primary);
  if (!Simulated()) {
    EXPECT_EQ(monitor, nullptr) << "Wine's own dxva2 has no physical monitor to offer";
    return;
  }
  ASSERT_NE(monitor, nullptr) << "the handles that came back null were not asked for again";
  EXPECT_EQ(monitor->Read(), (BacklightLevel{80, 120}));
  EXPECT_TRUE(monitor->Write(30));
  EXPECT_EQ(monitor->Read(), (BacklightLevel{30, 120}));

  DisplayInfo gone = primary;
  gone.deviceName = "\\\\.\\DISPLAY9";
  EXPECT_EQ(backlights.Open(gone), nullptr) << "a display that is not attached";
}

}  // namespace
}  // namespace lumenor::platform
