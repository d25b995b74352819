#pragma once
// Owning holders for the Win32 handles the shell takes: each releases its handle with the call
// that matches how it was obtained, once, and cannot be copied. Each also tells the live count of
// its kind of handle (handle_counts_win32.h) what it takes and lets go of.
#include <windows.h>

#include <cstddef>
#include <utility>

#include "platform/handle_counts_win32.h"

namespace lumenor::platform {

namespace detail {
template <class Release>
constexpr HandleKind KindOf() noexcept {
  if constexpr (requires { Release::kKind; })
    return Release::kKind;
  else
    return HandleKind::Other;
}
}  // namespace detail

struct WindowDestroyer {
  static constexpr HandleKind kKind = HandleKind::Window;
  void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
struct IconDestroyer {
  static constexpr HandleKind kKind = HandleKind::Icon;
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
struct MenuDestroyer {
  static constexpr HandleKind kKind = HandleKind::Menu;
  void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
struct GdiObjectDeleter {
  static constexpr HandleKind kKind = HandleKind::OtherGdiObject;
  void operator()(void* object) const noexcept { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
// A device context made with CreateCompatibleDC or CreateDC.
struct DcDeleter {
  static constexpr HandleKind kKind = HandleKind::DeviceContext;
  void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
// A window's device context from GetDC, given back to that window.
struct WindowDcReleaser {
  static constexpr HandleKind kKind = HandleKind::DeviceContext;
  HWND window = nullptr;
  void operator()(HDC dc) const noexcept { ReleaseDC(window, dc); }
};
// Kernel handles: files answer INVALID_HANDLE_VALUE where other objects answer null.
struct KernelHandleCloser {
  static constexpr HandleKind kKind = HandleKind::Kernel;
  static bool Holds(HANDLE handle) noexcept {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
  }
  void operator()(HANDLE handle) const noexcept {
    if (Holds(handle)) CloseHandle(handle);
  }
};

// A DLL loaded at run time, freed when its holder goes.
struct ModuleFreer {
  void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};

// The holder: the interface of std::unique_ptr that the shell uses (get, reset, release, a test
// for null, moves), plus the live count of its kind.
template <class Handle, class Release, HandleKind Kind = detail::KindOf<Release>()>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  UniqueHandle(std::nullptr_t) noexcept {}  // NOLINT(google-explicit-constructor): as unique_ptr
  explicit UniqueHandle(Handle handle, Release release = Release{}) noexcept
      : handle_(handle), release_(std::move(release)) {
    Count(handle_, +1);
  }
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, Handle{})), release_(std::move(other.release_)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Handle{});
      release_ = std::move(other.release_);
    }
    return *this;
  }
  UniqueHandle& operator=(std::nullptr_t) noexcept {
    reset();
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Handle{}; }
  Release& get_deleter() noexcept { return release_; }

  // Takes `handle` (the same one again is a no-op) and releases the one held before.
  void reset(Handle handle = Handle{}) noexcept {
    if (handle == handle_) return;
    const Handle old = std::exchange(handle_, handle);
    Count(handle_, +1);
    if (Holds(old)) {
      Count(old, -1);
      release_(old);
    }
  }
  // Gives the handle up without releasing it: the caller owns it now.
  Handle release() noexcept {
    Count(handle_, -1);
    return std::exchange(handle_, Handle{});
  }

  friend bool operator==(const UniqueHandle& holder, std::nullptr_t) noexcept {
    return holder.handle_ == Handle{};
  }

 private:
  static bool Holds(Handle handle) noexcept {
    if constexpr (requires { Release::Holds(handle); })
      return Release::Holds(handle);
    else
      return handle != Handle{};
  }
  static void Count(Handle handle, long change) noexcept {
    if (Holds(handle)) CountLiveHandle(Kind, change);
  }

  Handle handle_{};
  [[no_unique_address]] Release release_{};
};

using UniqueWindow = UniqueHandle<HWND, WindowDestroyer>;
using UniqueIcon = UniqueHandle<HICON, IconDestroyer>;
using UniqueMenu = UniqueHandle<HMENU, MenuDestroyer>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter, HandleKind::Font>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter, HandleKind::Brush>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter, HandleKind::Bitmap>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiObjectDeleter>;
using UniqueMemoryDc = UniqueHandle<HDC, DcDeleter>;
using UniqueDisplayDc = UniqueHandle<HDC, DcDeleter>;  // CreateDC for one display
using UniqueWindowDc = UniqueHandle<HDC, WindowDcReleaser>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleCloser>;
using UniqueModule = UniqueHandle<HMODULE, ModuleFreer>;

}  // namespace lumenor::platform
