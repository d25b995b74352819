// The hotkey contract with the real calls, and the hotkey control's window as the system shows it.
#include <windows.h>

#include <memory>
#include <vector>

#include "hotkey/hotkey_control_win32.h"
#include "hotkey/hotkey_dispatch_win32.h"
#include "hotkey/vb_hot_key.h"
#include "hotkey_contract.h"
#include "platform/hotkey_platform_win32.h"

namespace lumenor::testing {
namespace {

constexpr UINT kProbeMessage = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"LumenorHotkeyContractWindow";

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbeMessage) return kProbeAnswer;
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateProbeWindow() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ProbeWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    return RegisterClassW(&wc) != 0;
  }();
  if (!registered) return nullptr;
  return CreateWindowExW(0, kWindowClass, L"hotkey contract", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void RunQueueEmpty() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

class Win32HotkeyEnvironment {
 public:
  ~Win32HotkeyEnvironment() {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) DestroyWindow(*it);
  }

  platform::HotkeyPlatform& Hotkeys() { return hotkey::Win32Hotkeys(); }
  platform::WindowProcedures& Procedures() { return hotkey::Win32HotkeyProcedures(); }

  platform::WindowHandle NewWindow() {
    HWND window = CreateProbeWindow();
    EXPECT_NE(window, nullptr);
    windows_.push_back(window);
    return platform::FromHwnd(window);
  }

  std::intptr_t SendProbe(platform::WindowHandle window) {
    return SendMessageW(platform::ToHwnd(window), kProbeMessage, 0, 0);
  }

  std::uint16_t FindAtom(const char* name) { return GlobalFindAtomA(name); }

  std::unique_ptr<LoadedHotkeyControl> LoadControl(std::span<const std::uint8_t> block,
                                                   std::function<void()> pressed) {
    HWND host = platform::ToHwnd(NewWindow());
    hotkey::HotkeyControlWindow::Events events;
    events.hotkeyPressed = std::move(pressed);
    return std::make_unique<Control>(host, block, std::move(events));
  }

  void PostHotkey(platform::WindowHandle window, std::uint32_t modifiers, std::uint32_t vKey) {
    PostMessageW(platform::ToHwnd(window), WM_HOTKEY, 0,
                 MAKELPARAM(static_cast<WORD>(modifiers), static_cast<WORD>(vKey)));
    RunQueueEmpty();
  }

 private:
  struct Control final : LoadedHotkeyControl {
    Control(HWND host, std::span<const std::uint8_t> block,
            hotkey::HotkeyControlWindow::Events events)
        : window(host, POINT{10, 10}, block, std::move(events)) {}
    platform::WindowHandle Window() const override { return platform::FromHwnd(window.Window()); }
    hotkey::HotkeyControlWindow window;
  };

  std::vector<HWND> windows_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, HotkeyPlatform_Contract, Win32HotkeyEnvironment);

class HotkeyControlWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (host_ != nullptr) DestroyWindow(host_);
    EXPECT_FALSE(hotkey::SubclassedWindowsExist());
    EXPECT_FALSE(hotkey::HotkeyControlsExist());
  }
  HWND Host() {
    host_ = CreateProbeWindow();
    return host_;
  }
  HWND host_ = nullptr;
};

using HotkeyControlWindow_Create = HotkeyControlWindowTest;

TEST_F(HotkeyControlWindow_Create, IsAHiddenChildOfFixedSizeThatTakesNoClicks) {
  HWND host = Host();
  ASSERT_NE(host, nullptr);
  hotkey::HotkeyControlWindow control(host, POINT{20, 30}, app::kHotkeyLeftProperties, {});
  HWND window = control.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetParent(window), host);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD, WS_CHILD);
  RECT r{};
  GetWindowRect(window, &r);
  UINT dpi = GetDpiForWindow(window);
  if (dpi == 0) dpi = USER_DEFAULT_SCREEN_DPI;
  EXPECT_EQ(r.right - r.left, MulDiv(450, static_cast<int>(dpi), 1440));
  EXPECT_EQ(r.bottom - r.top, MulDiv(450, static_cast<int>(dpi), 1440));
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, 0), HTTRANSPARENT);

  // A host that resizes the control finds it back at its fixed size.
  SetWindowPos(window, nullptr, 0, 0, 200, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, MulDiv(450, static_cast<int>(dpi), 1440));
  EXPECT_EQ(r.bottom - r.top, MulDiv(450, static_cast<int>(dpi), 1440));
}

TEST_F(HotkeyControlWindow_Create, LoadsInUserModeAndUndoesAllWhenDestroyed) {
  HWND host = Host();
  WNDPROC classProcedure = nullptr;
  {
    hotkey::HotkeyControlWindow control(host, POINT{0, 0}, app::kHotkeyRightProperties, {});
    hotkey::VBHotKey& hotkey = control.Control();
    EXPECT_EQ(hotkey.vKey(), 39);
    EXPECT_EQ(hotkey.CtrlKey(), hotkey::kTrue);
    EXPECT_NE(hotkey.hKey(), 0);
    EXPECT_EQ(hotkey.hWnd(), platform::FromHwnd(control.Window()));
    EXPECT_NE(GlobalFindAtomA("CONTROL+039"), 0);
    EXPECT_EQ(GetWindowLongPtrW(control.Window(), GWLP_WNDPROC),
              hotkey::Win32HotkeyProcedures().HotkeyProcedure());
    classProcedure = reinterpret_cast<WNDPROC>(
        hotkey::SubclassedWindows().Item(hotkey::WindowKey(hotkey.hWnd())).OldWndProc);
    EXPECT_NE(classProcedure, nullptr);
  }
  EXPECT_EQ(GlobalFindAtomA("CONTROL+039"), 0);
  // The combination is free again: another window can take it.
  HWND other = CreateProbeWindow();
  EXPECT_NE(RegisterHotKey(other, 1, MOD_CONTROL, VK_RIGHT), FALSE);
  UnregisterHotKey(other, 1);
  DestroyWindow(other);
}

TEST_F(HotkeyControlWindow_Create, DestroyedWithItsHostUndoesAllTheSame) {
  HWND host = Host();
  {
    hotkey::HotkeyControlWindow control(host, POINT{0, 0}, app::kHotkeyLeftProperties, {});
    EXPECT_NE(GlobalFindAtomA("CONTROL+037"), 0);
    DestroyWindow(host);  // the host goes first, taking its child with it
    host_ = nullptr;
    EXPECT_EQ(GlobalFindAtomA("CONTROL+037"), 0);
    EXPECT_FALSE(hotkey::HotkeyControlsExist());
  }
}

TEST_F(HotkeyControlWindow_Create, MalformedBlockFailsAndLeavesNothingBehind) {
  HWND host = Host();
  std::vector<std::uint8_t> block(app::kHotkeyLeftProperties.begin(),
                                  app::kHotkeyLeftProperties.end());
  block[0] = 0;
  EXPECT_THROW(hotkey::HotkeyControlWindow(host, POINT{0, 0}, block, {}),
               hotkey::BadSettingsBlockError);
  EXPECT_EQ(GetWindow(host, GW_CHILD), nullptr);
}

}  // namespace
}  // namespace lumenor::testing
