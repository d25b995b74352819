#pragma once
// Owning holders for the Win32 handles the shell takes: each releases its handle with the call
// that matches how it was obtained, once, and cannot be copied.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace lumenor::platform {

struct WindowDestroyer {
  void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
struct IconDestroyer {
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
struct MenuDestroyer {
  void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
struct GdiObjectDeleter {
  void operator()(void* object) const noexcept { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
// Kernel handles: files answer INVALID_HANDLE_VALUE where other objects answer null.
struct KernelHandleCloser {
  void operator()(HANDLE handle) const noexcept {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

template <class Handle, class Release>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, Release>;

using UniqueWindow = UniqueHandle<HWND, WindowDestroyer>;
using UniqueIcon = UniqueHandle<HICON, IconDestroyer>;
using UniqueMenu = UniqueHandle<HMENU, MenuDestroyer>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleCloser>;

}  // namespace lumenor::platform
