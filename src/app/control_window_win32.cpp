#include "app/control_window_win32.h"

namespace lumenor::app {

HWND CreateControlWindow(const wchar_t* className, const wchar_t* text, DWORD style,
                         const ControlPlace& place) {
  const RECT& r = place.bounds;
  return CreateWindowExW(
      0, className, text, style, r.left, r.top, r.right - r.left, r.bottom - r.top, place.parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(place.parent, GWLP_HINSTANCE)), nullptr);
}

}  // namespace lumenor::app
