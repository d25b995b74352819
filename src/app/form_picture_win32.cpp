#include "app/form_picture_win32.h"

#include "app/dusk_picture_win32.h"

namespace lumenor::app {

void PaintWindowlessPicture(HWND form, HDC dc, const RECT& target) {
  const int saved = SaveDC(dc);
  for (HWND child = GetWindow(form, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  PaintDuskPicture(dc, target);
  RestoreDC(dc, saved);
}

}  // namespace lumenor::app
