#pragma once
// The one window base of the program, after Windows Terminal's BaseWindow: a class derives from
// WindowBase<Itself>, names its window class, and handles messages in
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
// The base registers the class once, binds the object to its window at WM_NCCREATE (so the object
// owns the HWND from its first message on), unbinds at WM_NCDESTROY, and destroys the window when
// the object goes first. Messages that arrive before WM_NCCREATE get the default processing.
#include <windows.h>

#include "platform/handles_win32.h"

namespace lumenor::platform {

// What a window class is beyond its procedure.
struct WindowClassDesign {
  const wchar_t* name = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;  // null: the window paints its whole background itself
};

// Registers the class unless this process already has it: windows are created again (the main
// window after its close box, a second hotkey control), their class only once.
inline void EnsureWindowClass(const WNDCLASSEXW& windowClass) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing))
    RegisterClassExW(&windowClass);
}

struct WindowPlacement {
  DWORD exStyle = 0;
  DWORD style = 0;
  RECT bounds{};  // left, top, right, bottom in the parent's client pixels (screen: no parent)
  HWND parent = nullptr;
  HMENU menuOrId = nullptr;
};

template <class Derived>
class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  // Null before creation and once the window has been destroyed, by this object or by the system
  // (a parent taking its children along).
  HWND Window() const noexcept { return window_.get(); }

 protected:
  WindowBase() = default;
  ~WindowBase() { DestroyWindowNow(); }

  // Registers the class on first use and creates the window bound to this object. Returns the
  // window, or null when the system refused it.
  HWND CreateBoundWindow(HINSTANCE instance, const WindowClassDesign& design,
                         const wchar_t* caption, const WindowPlacement& placement) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowBase::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = design.cursor;
    windowClass.hbrBackground = design.background;
    windowClass.lpszClassName = design.name;
    EnsureWindowClass(windowClass);
    const RECT& r = placement.bounds;
    CreateWindowExW(placement.exStyle, design.name, caption, placement.style, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, placement.parent, placement.menuOrId,
                    instance, static_cast<Derived*>(this));
    return window_.get();
  }

  // Destroys the window now. It is unbound first, so its last messages (WM_DESTROY of the window
  // and its children) get the default processing and never reach a half-destroyed object.
  void DestroyWindowNow() noexcept {
    HWND window = window_.release();
    if (window == nullptr) return;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }

  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) const noexcept {
    return DefWindowProcW(window_.get(), message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
      auto* self =
          static_cast<Derived*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
      self->WindowBase::window_.reset(window);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message != WM_NCDESTROY) return self->HandleMessage(message, wParam, lParam);
    // The system is destroying the window: the object lets go of it and hears nothing more.
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    (void)self->WindowBase::window_.release();
    return result;
  }

  UniqueWindow window_;
};

}  // namespace lumenor::platform
