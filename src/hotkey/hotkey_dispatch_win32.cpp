#include "hotkey/hotkey_dispatch_win32.h"

#include "hotkey/hotkey_subclass.h"
#include "platform/hotkey_platform_win32.h"

namespace lumenor::hotkey {

namespace {

LRESULT CALLBACK HotkeyWindowProcW(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept {
  try {
    return HotkeyWindowProc(Win32HotkeyProcedures(), platform::FromHwnd(window), message, wParam,
                            lParam);
  } catch (...) {
    return 0;
  }
}

}  // namespace

platform::HotkeyPlatform& Win32Hotkeys() {
  static platform::Win32HotkeyPlatform hotkeys;
  return hotkeys;
}

platform::WindowProcedures& Win32HotkeyProcedures() {
  static platform::Win32WindowProcedures procedures(&HotkeyWindowProcW);
  return procedures;
}

}  // namespace lumenor::hotkey
