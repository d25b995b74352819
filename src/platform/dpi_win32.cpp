#include "platform/dpi_win32.h"

#include "platform/handles_win32.h"

namespace lumenor::platform {
namespace {

template <class Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

UINT ScreenDpi() {
  const UniqueWindowDc screen(GetDC(nullptr));
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT SystemDpi() {
  static const auto function = User32<GetDpiForSystemFn>("GetDpiForSystem");
  return function != nullptr ? function() : ScreenDpi();
}

UINT WindowDpi(HWND window) {
  static const auto function = User32<GetDpiForWindowFn>("GetDpiForWindow");
  if (window == nullptr) return 0;
  return function != nullptr ? function(window) : SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
  static const auto function = User32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  return function != nullptr ? function(index, dpi) : GetSystemMetrics(index);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto function = User32<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  if (function != nullptr) {
    function(&rect, style, FALSE, exStyle, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

}  // namespace lumenor::platform
