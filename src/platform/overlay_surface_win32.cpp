#include "platform/overlay_surface_win32.h"

namespace lumenor::platform {

namespace {
// Z-order changes never activate the window: a timer tick must not take the focus from the
// window the user is working in.
constexpr UINT kTopmostFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

// WDA_EXCLUDEFROMCAPTURE, which older SDK headers lack. Before Windows 10 2004 (build 19041) the
// system takes it as WDA_MONITOR and captures a black window instead, so it is not used there.
constexpr DWORD kExcludeFromCapture = 0x11;
constexpr DWORD kFirstBuildExcludingFromCapture = 19041;

bool CanExcludeFromCapture() {
  static const bool can = [] {
    // GetVersionEx answers what the manifest declares; ntdll's RtlGetVersion the real version.
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto get = ntdll != nullptr ? reinterpret_cast<GetVersion>(reinterpret_cast<void*>(
                                            GetProcAddress(ntdll, "RtlGetVersion")))
                                      : nullptr;
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (get == nullptr || get(&version) != 0) return false;
    return version.dwMajorVersion > 10 ||
           (version.dwMajorVersion == 10 && version.dwBuildNumber >= kFirstBuildExcludingFromCapture);
  }();
  return can;
}
}  // namespace

DWORD Win32OverlaySurface::ExtendedStyle() const {
  return static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE));
}

void Win32OverlaySurface::MakeClickThrough() {
  SetWindowLongW(window_, GWL_EXSTYLE, static_cast<LONG>(ExtendedStyle() | kClickThroughExStyle));
}

bool Win32OverlaySurface::IsClickThrough() {
  return (ExtendedStyle() & kClickThroughExStyle) == kClickThroughExStyle;
}

void Win32OverlaySurface::SetOpacity(std::uint8_t alpha) {
  SetLayeredWindowAttributes(window_, kInertColourKey, alpha, LWA_ALPHA);
}

void Win32OverlaySurface::SetColour(ColorRef colour) {
  if (colour == colour_) return;
  colour_ = colour;
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32OverlaySurface::Raise() {
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
}

bool Win32OverlaySurface::IsRaised() {
  return (ExtendedStyle() & WS_EX_TOPMOST) != 0;
}

void Win32OverlaySurface::Cover(const PixelRect& area) {
  SetWindowPos(window_, nullptr, area.left, area.top, area.Width(), area.Height(),
               SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

PixelRect Win32OverlaySurface::Bounds() {
  RECT rect{};
  if (!GetWindowRect(window_, &rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

bool Win32OverlaySurface::IsShowing() {
  return IsWindowVisible(window_) != FALSE;
}

void Win32OverlaySurface::Show() {
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags | SWP_SHOWWINDOW);
}

void Win32OverlaySurface::Hide() {
  ShowWindow(window_, SW_HIDE);
}

void Win32OverlaySurface::KeepOutOfCapture(bool out) {
  if (CanExcludeFromCapture()) SetWindowDisplayAffinity(window_, out ? kExcludeFromCapture : WDA_NONE);
}

}  // namespace lumenor::platform
