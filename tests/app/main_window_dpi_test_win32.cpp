// The real main window moved to a display of another DPI: it goes once, to the rectangle the
// system suggests, with its controls and fonts made for the new DPI.
#include "app/main_window_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "dimming/darkness_road.h"
#include "platform/handles_win32.h"
#include "support/one_display_desk.h"

namespace lumenor::app {
namespace {

struct HookRemover {
  void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};

// What the window procedures of the watched form and its controls are handed.
HWND watched = nullptr;
std::vector<std::pair<int, int>> moves;  // the form's moves, to its new top-left corner
int controlsOnDeadFont = 0;  // controls told of a new font while their old one was deleted

LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
  const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call.hwnd == watched && call.message == WM_WINDOWPOSCHANGED) {
    const auto& pos = *reinterpret_cast<const WINDOWPOS*>(call.lParam);
    if ((pos.flags & SWP_NOMOVE) == 0) moves.emplace_back(pos.x, pos.y);
  }
  if (code == HC_ACTION && call.message == WM_SETFONT && GetParent(call.hwnd) == watched) {
    const auto old = reinterpret_cast<HGDIOBJ>(SendMessageW(call.hwnd, WM_GETFONT, 0, 0));
    if (old != nullptr && GetObjectType(old) != OBJ_FONT) ++controlsOnDeadFont;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Form1 loaded on a one-display desk, with the program's darkness road.
struct LoadedForm {
  LoadedForm() {
    const INITCOMMONCONTROLSEX common{static_cast<DWORD>(sizeof(common)), ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    form = MainWindowForm::Load(GetModuleHandleW(nullptr), road, desk.set, desk.notices, {});
  }
  testing::OneDisplayDesk desk;
  dimming::DarknessRoad road{desk.overlay, nullptr};
  std::unique_ptr<MainWindowForm> form;
};

TEST(MainWindowForm_DpiChanged, MovesOnceToTheSuggestedRectangleWithControlsAtTheNewDpi) {
  LoadedForm loaded;
  ASSERT_NE(loaded.form, nullptr);
  watched = loaded.form->Window();
  HWND button = GetDlgItem(watched, 1001);  // Command1
  RECT window{};
  RECT buttonAt96{};
  GetWindowRect(watched, &window);
  GetClientRect(button, &buttonAt96);

  // On a second display at 144 DPI, as the system suggests it: one and a half times the size.
  RECT suggested{1400, 100, 1400 + (window.right - window.left) * 3 / 2,
                 100 + (window.bottom - window.top) * 3 / 2};
  moves.clear();
  const platform::UniqueHandle<HHOOK, HookRemover> hook(
      SetWindowsHookExW(WH_CALLWNDPROC, &Watch, nullptr, GetCurrentThreadId()));
  ASSERT_TRUE(hook);
  SendMessageW(watched, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{suggested.left, suggested.top}}));
  GetWindowRect(watched, &window);
  EXPECT_TRUE(EqualRect(&window, &suggested));
  RECT buttonAt144{};
  GetClientRect(button, &buttonAt144);
  EXPECT_EQ(buttonAt144.right, buttonAt96.right * 144 / 96);
  EXPECT_EQ(buttonAt144.bottom, buttonAt96.bottom * 144 / 96);
  EXPECT_EQ(controlsOnDeadFont, 0);
}

TEST(MainWindowForm_DpiChanged, APostedMessageWithoutARectangleMovesNothing) {
  LoadedForm loaded;
  ASSERT_NE(loaded.form, nullptr);
  watched = loaded.form->Window();
  RECT before{};
  GetWindowRect(watched, &before);
  moves.clear();
  const platform::UniqueHandle<HHOOK, HookRemover> hook(
      SetWindowsHookExW(WH_CALLWNDPROC, &Watch, nullptr, GetCurrentThreadId()));
  ASSERT_TRUE(hook);
  for (const LPARAM bogus : {LPARAM{0}, LPARAM{0x10}, LPARAM{-4096}}) {
    SCOPED_TRACE(bogus);
    SendMessageW(watched, WM_DPICHANGED, MAKEWPARAM(144, 144), bogus);
  }
  EXPECT_TRUE(moves.empty());
  RECT after{};
  GetWindowRect(watched, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
}

}  // namespace
}  // namespace lumenor::app
