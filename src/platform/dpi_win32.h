#pragma once
// The DPI services of Windows 10 version 1607 and later, looked up when first used, so that the exe
// still starts on an older Windows far enough to tell its user that it needs a newer one. Where a
// service is missing, the answer is the system's DPI of older Windows.
#include <windows.h>

namespace lumenor::platform {

UINT SystemDpi();
UINT WindowDpi(HWND window);  // 0 for no window, as GetDpiForWindow answers
int SystemMetricForDpi(int index, UINT dpi);
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace lumenor::platform
