#pragma once
// HotkeySubclass: installs the hotkey dispatch as a window's procedure, offers every WM_HOTKEY that
// reaches such a window to the hotkey controls of that window, and passes every message on to the
// procedure the window had before. It holds the subsystem's two process-wide registries.

#include <cstdint>
#include <string>

#include "hotkey/hotkey_values.h"
#include "hotkey/keyed_collection.h"
#include "platform/hotkey_platform.h"

namespace lumenor::hotkey {

// What the dispatch and the hotkey record need of a hotkey control filed in HotkeyControls.
class HotkeyControl {
 public:
  virtual WindowHandle hWnd() const = 0;
  virtual void RaiseKeyPressEvent(std::int32_t vKey, std::int32_t Modifier) = 0;
  virtual std::string UniqueKey() const = 0;
  virtual void RaiseError(const std::string& Message, const std::string& Source) = 0;

 protected:
  ~HotkeyControl() = default;
};

// One subclassed window and the procedure it had before.
struct ApiSubclassedWindow {
  WindowProcedure OldWndProc = 0;
  WindowProcedure NewWndProc = 0;
  WindowHandle hWnd = 0;
};

// The two registries, keyed by window key. Each comes into being, empty, at its first use and is
// discarded when UnsubclassWindow leaves it empty. HotkeyControls refers to controls it does not
// own; a control leaves it before it is destroyed.
KeyedCollection<ApiSubclassedWindow>& SubclassedWindows();
KeyedCollection<HotkeyControl*>& HotkeyControls();
// Whether a registry exists at the moment (asking does not create it).
bool SubclassedWindowsExist();
bool HotkeyControlsExist();

// Installs the dispatch on the window and files it; does nothing while the dispatch already is the
// window's procedure. Failures (a window key already filed) go to the caller.
void SubclassWindow(platform::WindowProcedures& procedures, WindowHandle hWnd);

// Gives the window its remembered procedure back, forgets it, removes the controls filed under its
// key, and discards registries left empty. Each failing step is skipped; nothing is reported.
void UnsubclassWindow(platform::WindowProcedures& procedures, WindowHandle hWnd) noexcept;

// The procedure of every subclassed window. WM_HOTKEY is offered to each control of the window
// (key code from the high word of lParam, modifier flags from its low word); every message then
// goes to the remembered procedure, or to the default procedure when none is remembered.
std::intptr_t HotkeyWindowProc(platform::WindowProcedures& procedures, WindowHandle hWnd,
                               std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) noexcept;

}  // namespace lumenor::hotkey
