#include "platform/hotkey_platform_win32.h"

#include <array>
#include <string>

namespace lumenor::platform {

std::uint16_t Win32HotkeyPlatform::AddGlobalAtom(std::string_view name) {
  const std::string text(name);
  return GlobalAddAtomA(text.c_str());
}

void Win32HotkeyPlatform::DeleteGlobalAtom(std::uint16_t atom) {
  GlobalDeleteAtom(atom);
}

std::size_t Win32HotkeyPlatform::GlobalAtomName(std::uint16_t atom, std::span<char> buffer) {
  if (buffer.empty()) return 0;
  const int size = buffer.size() > 0x7FFF ? 0x7FFF : static_cast<int>(buffer.size());
  return GlobalGetAtomNameA(atom, buffer.data(), size);
}

std::int32_t Win32HotkeyPlatform::RegisterHotkey(WindowHandle window, std::int32_t id,
                                                 std::uint32_t modifiers,
                                                 std::uint32_t virtualKey) {
  return RegisterHotKey(ToHwnd(window), id, modifiers, virtualKey);
}

void Win32HotkeyPlatform::UnregisterHotkey(WindowHandle window, std::int32_t id) {
  UnregisterHotKey(ToHwnd(window), id);
}

std::uint32_t Win32HotkeyPlatform::LastErrorCode() {
  return GetLastError();
}

void Win32HotkeyPlatform::SetLastErrorCode(std::uint32_t code) {
  SetLastError(code);
}

std::string Win32HotkeyPlatform::SystemMessageText(std::uint32_t code) {
  // Inserts are ignored: a message with %1 in it must not read arguments that nobody passed.
  std::array<char, 500> buffer{};
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
  return std::string(buffer.data(), length < buffer.size() ? length : buffer.size());
}

WindowProcedure Win32WindowProcedures::GetProcedure(WindowHandle window) {
  return GetWindowLongPtrW(ToHwnd(window), GWLP_WNDPROC);
}

WindowProcedure Win32WindowProcedures::SetProcedure(WindowHandle window,
                                                    WindowProcedure procedure) {
  return SetWindowLongPtrW(ToHwnd(window), GWLP_WNDPROC, static_cast<LONG_PTR>(procedure));
}

std::intptr_t Win32WindowProcedures::CallProcedure(WindowProcedure procedure, WindowHandle window,
                                                   std::uint32_t message, std::uintptr_t wParam,
                                                   std::intptr_t lParam) {
  return CallWindowProcW(reinterpret_cast<WNDPROC>(procedure), ToHwnd(window), message, wParam,
                         lParam);
}

std::intptr_t Win32WindowProcedures::DefaultProcedure(WindowHandle window, std::uint32_t message,
                                                      std::uintptr_t wParam, std::intptr_t lParam) {
  return DefWindowProcW(ToHwnd(window), message, wParam, lParam);
}

WindowProcedure Win32WindowProcedures::HotkeyProcedure() const {
  return reinterpret_cast<WindowProcedure>(hotkeyProcedure_);
}

}  // namespace lumenor::platform
