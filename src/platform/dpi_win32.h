#pragma once
// The DPI services of Windows 10 version 1607 and later, looked up when first used, so that the exe
// still starts on an older Windows far enough to tell its user that it needs a newer one. Where a
// service is missing, the answer is the system's DPI of older Windows.
#include <windows.h>

namespace lumenor::platform {

UINT SystemDpi();
UINT WindowDpi(HWND window);  // 0 for no window, as GetDpiForWindow answers
// One display's DPI (GetDpiForMonitor, from shcore.dll in the system directory); the system's DPI
// where the service is missing.
UINT MonitorDpi(HMONITOR monitor);
int SystemMetricForDpi(int index, UINT dpi);
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

// Twips (1/1440 inch), the unit the forms' designs are measured in, and pixels at a DPI.
inline constexpr int kTwipsPerInch = 1440;
inline int TwipsToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}
inline int PixelsToTwips(int pixels, UINT dpi) {
  return MulDiv(pixels, kTwipsPerInch, static_cast<int>(dpi));
}

}  // namespace lumenor::platform
