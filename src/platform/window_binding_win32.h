#pragma once
// Window classes and the objects behind their windows.
//
// The window procedure of a class whose every window belongs to one object: the object passed as
// CreateWindowExW's last argument is bound on WM_NCCREATE and unbound after WM_NCDESTROY, and
// every message in between goes to Owner::Handle(window, message, wParam, lParam), which must be
// noexcept. Messages with no object bound get the default processing.
#include <windows.h>

namespace lumenor::platform {

template <class Owner>
LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* owner =
        static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  }
  auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (owner == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return owner->Handle(window, message, wParam, lParam);
}

// Registers the class unless this process already has it: windows are created again (the main
// window after its close box, a second overlay or hotkey control), their class only once.
inline void EnsureWindowClass(const WNDCLASSEXW& windowClass) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing))
    RegisterClassExW(&windowClass);
}

}  // namespace lumenor::platform
