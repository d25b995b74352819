#pragma once
// The system services behind the global hotkeys: the global atom table, hotkey registration, the
// thread's last-error code with its system text, and window procedures. Window handles and window
// procedures are held at the platform's pointer width.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lumenor::platform {

using WindowHandle = std::intptr_t;     // a window handle as a number (0: none)
using WindowProcedure = std::intptr_t;  // a window procedure's address or procedure handle

class HotkeyPlatform {
 public:
  virtual ~HotkeyPlatform() = default;

  // GlobalAddAtomA: the atom of that name (an existing one with its count raised), 0 on failure.
  virtual std::uint16_t AddGlobalAtom(std::string_view name) = 0;
  // GlobalDeleteAtom: lowers the atom's count and removes it at zero.
  virtual void DeleteGlobalAtom(std::uint16_t atom) = 0;
  // GlobalGetAtomNameA: writes the name (NUL-terminated, cut to the buffer) and returns its length
  // in characters, 0 on failure.
  virtual std::size_t GlobalAtomName(std::uint16_t atom, std::span<char> buffer) = 0;

  // RegisterHotKey: non-zero on success, 0 on failure; WM_HOTKEY goes to the window afterwards.
  virtual std::int32_t RegisterHotkey(WindowHandle window, std::int32_t id, std::uint32_t modifiers,
                                      std::uint32_t virtualKey) = 0;
  virtual void UnregisterHotkey(WindowHandle window, std::int32_t id) = 0;

  // The thread's last-error code, as the most recent call above left it.
  virtual std::uint32_t LastErrorCode() = 0;
  virtual void SetLastErrorCode(std::uint32_t code) = 0;
  // FormatMessageA from the system's table into a 500-character buffer: the text written, with
  // the system's line break at its end; empty when the system has no text for the code.
  virtual std::string SystemMessageText(std::uint32_t code) = 0;
};

class WindowProcedures {
 public:
  virtual ~WindowProcedures() = default;

  // The window's current procedure (GetWindowLongPtrW, GWLP_WNDPROC).
  virtual WindowProcedure GetProcedure(WindowHandle window) = 0;
  // Installs a procedure and returns the previous one, 0 on failure (SetWindowLongPtrW).
  virtual WindowProcedure SetProcedure(WindowHandle window, WindowProcedure procedure) = 0;
  // CallWindowProcW with a procedure read earlier.
  virtual std::intptr_t CallProcedure(WindowProcedure procedure, WindowHandle window,
                                      std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) = 0;
  // DefWindowProcW.
  virtual std::intptr_t DefaultProcedure(WindowHandle window, std::uint32_t message,
                                         std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // The procedure that stands for the hotkey dispatch once it is installed on a window.
  virtual WindowProcedure HotkeyProcedure() const = 0;
};

}  // namespace lumenor::platform
