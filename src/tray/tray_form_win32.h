#pragma once
// mytray1: the program's start-up window, never shown. It owns the notification-area icon with
// its tooltip and balloon, the balloon timer Timer_no_boloon and the icon's menu myhame, and
// re-adds the icon when the shell's taskbar is recreated.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace lumenor::platform {
class Dialogs;
class OneShotTimer;
}  // namespace lumenor::platform

namespace lumenor::tray {

// Window class of the tray form (its window is hidden and top-level, so it hears "TaskbarCreated").
inline constexpr wchar_t kTrayFormClass[] = L"mytray1";

class TrayForm {
 public:
  struct Callbacks {
    std::function<void()> showMainWindow;  // "选项" and a double-click on the icon
    std::function<void()> endProgram;      // "退出", and the tray window being closed
    // The system says the display may have been reset (a display change, a resume, an unlock, a
    // console connect): the tray window, top-level and there for the whole run, hears it.
    std::function<void(UINT message)> displayMayHaveBeenReset = {};
    std::function<void()> rewriteTimer = {};  // RewriteTimer ticked
  };

  // Loads the tray form: creates its hidden window and Timer_no_boloon, and adds the icon with
  // the tooltip "显示器亮度调节增强". Showing the main window is left to the caller, once the
  // windows it needs exist.
  TrayForm(HINSTANCE instance, platform::Dialogs& dialogs, Callbacks callbacks);
  // Unloads: removes the icon (unless Unload did already) and destroys the window.
  ~TrayForm();
  TrayForm(const TrayForm&) = delete;
  TrayForm& operator=(const TrayForm&) = delete;

  // removetrayicon and the balloon timer stopped; the window stays until destruction, so this
  // may run inside the window's own message handling. A second call does nothing.
  void Unload();

  // Shows a balloon over the icon; with contime > 0 it is taken down after contime ms.
  void TrayBalloon(std::string_view text, std::string_view title, std::int16_t contime);

  // Runs work from the message loop once the message being handled now is done: for work that
  // must not run inside the window procedure that asks for it (deleting that window's owner).
  void Defer(std::function<void()> work);

  HWND Window() const;

  // A one-shot timer on the tray window, for putting the display's ramp back a moment after a
  // reset; its tick reaches Callbacks::rewriteTimer.
  platform::OneShotTimer& RewriteTimer();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lumenor::tray
