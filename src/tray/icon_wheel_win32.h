#pragma once
// The mouse wheel on the notification icon. The shell sends no wheel messages for an icon, so
// while the cursor is on it (the icon's callback reports WM_MOUSEMOVE) a low-level mouse hook
// watches the wheel, and it is removed as soon as the cursor leaves the icon: elsewhere no hook
// runs and the wheel reaches the programs as always. The hook only sorts and posts; what a notch
// does runs when the icon's window takes the posted message.
#include <windows.h>

#include "platform/handles_win32.h"
#include "tray/wheel_notches.h"

namespace lumenor::tray {

// What the hook posts to the icon's window; IconWheel::OnPosted reads it.
inline constexpr UINT kIconWheelMessage = WM_APP + 1;

class IconWheel {
 public:
  IconWheel() = default;
  ~IconWheel() { Stop(); }
  IconWheel(const IconWheel&) = delete;
  IconWheel& operator=(const IconWheel&) = delete;

  // The icon (window, id) reported WM_MOUSEMOVE: the cursor is on it now.
  void OnIconMouseMove(HWND window, UINT id);
  // kIconWheelMessage reached the icon's window: the whole notches turned on the icon (positive
  // away from the user, negative towards), or 0 when it told that the cursor may have left.
  int OnPosted(WPARAM wParam, LPARAM lParam);
  // No hook from now on, until the cursor comes back on the icon.
  void Stop();

 private:
  struct HookRemover {
    void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
  };

  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) noexcept;
  void Heard(WPARAM message, const MSLLHOOKSTRUCT& event) noexcept;
  bool CursorOnIcon() const;

  HWND window_ = nullptr;
  RECT icon_{};                // where the icon is, or a square around it (see the .cpp)
  bool aroundCursor_ = false;  // icon_ is that square
  bool leftPosted_ = false;    // one "left" is on its way
  WheelNotches notches_;
  platform::UniqueHandle<HHOOK, HookRemover> hook_;
};

}  // namespace lumenor::tray
