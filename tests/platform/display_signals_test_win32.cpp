// The listening window's timer and session notices with the real calls.
#include "platform/display_signals_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/handles_win32.h"

namespace lumenor::platform {
namespace {

constexpr wchar_t kClass[] = L"LumenorSignalsTest";
constexpr UINT_PTR kTimerId = 7;

// A hidden top-level window and a pump that hands its timer's ticks to the timer and counts them.
class SignalsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    window.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                 nullptr, wc.hInstance, nullptr));
    ASSERT_NE(window.get(), nullptr);
  }

  // Runs the window's messages for `milliseconds`; returns how many ticks of the timer came.
  int PumpTicks(WindowTimer& timer, DWORD milliseconds, bool stopAtTick = false) {
    int ticks = 0;
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, window.get(), 0, 0, PM_REMOVE)) {
        if (msg.message == WM_TIMER && timer.IsTick(msg.wParam)) {
          ++ticks;
          if (stopAtTick) timer.Stop();
        }
      }
    }
    return ticks;
  }

  UniqueWindow window;
};

TEST_F(SignalsTest, TheTimerRepeatsUntilStoppedAndAStartReplacesTheInterval) {
  WindowTimer timer(window.get(), kTimerId);
  timer.Start(30);
  EXPECT_EQ(PumpTicks(timer, 400, true), 1) << "stopped at its tick, it ticks once";

  timer.Start(1000);
  timer.Start(60);  // replaces the second: ticks come well within 400 ms
  const int ticks = PumpTicks(timer, 400);
  EXPECT_GE(ticks, 2) << "it repeats until stopped";

  timer.Stop();
  EXPECT_EQ(PumpTicks(timer, 200), 0);
}

TEST_F(SignalsTest, SessionNoticesRegisterForAWindow) {
  SessionNotifications notices(window.get());
  EXPECT_TRUE(notices.Registered());
}

}  // namespace
}  // namespace lumenor::platform
