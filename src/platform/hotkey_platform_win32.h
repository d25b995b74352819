#pragma once
// The hotkey services with the real calls: kernel32's global atoms, last error and FormatMessageA,
// user32's RegisterHotKey and window procedures.
#include <windows.h>

#include "platform/hotkey_platform.h"

namespace lumenor::platform {

class Win32HotkeyPlatform final : public HotkeyPlatform {
 public:
  std::uint16_t AddGlobalAtom(std::string_view name) override;
  void DeleteGlobalAtom(std::uint16_t atom) override;
  std::size_t GlobalAtomName(std::uint16_t atom, std::span<char> buffer) override;
  std::int32_t RegisterHotkey(WindowHandle window, std::int32_t id, std::uint32_t modifiers,
                              std::uint32_t virtualKey) override;
  void UnregisterHotkey(WindowHandle window, std::int32_t id) override;
  std::uint32_t LastErrorCode() override;
  void SetLastErrorCode(std::uint32_t code) override;
  std::string SystemMessageText(std::uint32_t code) override;
};

// Window procedures at pointer width (SetWindowLongPtrW, GWLP_WNDPROC, CallWindowProcW). The
// procedure given here is the one that stands for the hotkey dispatch.
class Win32WindowProcedures final : public WindowProcedures {
 public:
  explicit Win32WindowProcedures(WNDPROC hotkeyProcedure) : hotkeyProcedure_(hotkeyProcedure) {}

  WindowProcedure GetProcedure(WindowHandle window) override;
  WindowProcedure SetProcedure(WindowHandle window, WindowProcedure procedure) override;
  std::intptr_t CallProcedure(WindowProcedure procedure, WindowHandle window, std::uint32_t message,
                              std::uintptr_t wParam, std::intptr_t lParam) override;
  std::intptr_t DefaultProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) override;
  WindowProcedure HotkeyProcedure() const override;

 private:
  WNDPROC hotkeyProcedure_;
};

inline HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
inline WindowHandle FromHwnd(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}

}  // namespace lumenor::platform
