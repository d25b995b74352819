#pragma once
// mytray1: the program's start-up window, never shown. It owns the notification-area icon with
// its tooltip and balloon, the balloon timer Timer_no_boloon (on the program window) and the icon's
// menu myhame, and re-adds the icon when the shell's taskbar is recreated.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "display/display_set.h"

namespace lumenor::platform {
class Dialogs;
class ProgramWindow;
}  // namespace lumenor::platform

namespace lumenor::tray {

// The "设置" submenu's items, in menu order.
enum class SettingsItem {
  Hotkeys,
  StartWithWindows,
  RestoreAtStart,
  IncludeInScreenshots,
  ShowLevel
};
struct SettingsChecks {
  bool startWithWindows = false;      // "开机启动"
  bool restoreAtStart = false;        // "启动时恢复上次的设置"
  bool includeInScreenshots = false;  // "截图时包含遮罩"
  bool showLevel = false;             // "显示调节提示"
};

// A second copy that finds this one running posts this registered message to the tray window,
// which then shows the main window in front.
inline constexpr wchar_t kShowMainWindowMessage[] = L"Lumenor.ShowMainWindow";

// Window class of the tray form (its window is hidden and top-level, so it hears "TaskbarCreated").
inline constexpr wchar_t kTrayFormClass[] = L"mytray1";

class TrayForm {
 public:
  struct Callbacks {
    std::function<void()> showMainWindow;  // "选项" and a double-click on the icon
    std::function<void()> endProgram;      // "退出", and the tray window being closed
    // The displays for the "显示器" submenu, which shows when there is more than one, and the
    // user's choice of one of them (it, and whether it is now included). The displays may change
    // while the menu is open: the choice names the display, not its place in the menu.
    std::function<std::vector<display::DisplayChoice>()> displayChoices = {};
    std::function<void(const display::DisplayChoice& choice, bool included)> chooseDisplay = {};
    // The "设置" submenu: its check marks at each open, and the item the user chose.
    std::function<SettingsChecks()> settingsChecks = {};
    std::function<void(SettingsItem)> chooseSetting = {};
    // Some display has a backlight the program drives: the submenu shows then with one display
    // too, and ends with "先调背光", checked while the backlight stage is on.
    std::function<bool()> anyBacklight = {};
    std::function<bool()> backlightFirst = {};
    std::function<void(bool on)> setBacklightFirst = {};
    // One notch of the wheel turned on the icon: towards the user darker, away lighter.
    std::function<void(bool darker)> wheelStep = {};
    // WM_COPYDATA from any program (a second start hands its command line over this way): its
    // tag and data, which may be anything. Answers whether it was taken.
    std::function<bool(std::uint64_t tag, std::span<const std::byte> data)> command = {};
  };

  // Loads the tray form: creates its hidden window and Timer_no_boloon, and adds the icon with
  // the tooltip "显示器亮度调节增强". Showing the main window is left to the caller, once the
  // windows it needs exist.
  // The program window carries its timers and must outlive it.
  TrayForm(HINSTANCE instance, platform::Dialogs& dialogs, platform::ProgramWindow& program,
           Callbacks callbacks);
  // Unloads: removes the icon (unless Unload did already) and destroys the window.
  ~TrayForm();
  TrayForm(const TrayForm&) = delete;
  TrayForm& operator=(const TrayForm&) = delete;

  // removetrayicon and the balloon timer stopped; the window stays until destruction, so this
  // may run inside the window's own message handling. A second call does nothing.
  void Unload();

  // Shows a balloon over the icon; with contime > 0 it is taken down after contime ms.
  void TrayBalloon(std::string_view text, std::string_view title, std::int16_t contime);

  HWND Window() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lumenor::tray
