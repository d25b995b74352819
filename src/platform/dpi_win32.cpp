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
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

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

UINT MonitorDpi(HMONITOR monitor) {
  // Loaded once and kept for the process, as user32 is: the panel asks at each step it shows.
  static const auto function = [] {
    HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore == nullptr ? nullptr
                             : reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(
                                   GetProcAddress(shcore, "GetDpiForMonitor")));
  }();
  UINT x = 0;
  UINT y = 0;
  if (function != nullptr && monitor != nullptr && SUCCEEDED(function(monitor, kEffectiveDpi, &x, &y)) &&
      x > 0)
    return x;
  return SystemDpi();
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
