#include "app/form_picture_win32.h"

namespace lumenor::app {

WindowlessPicture::WindowlessPicture(HINSTANCE instance, int bitmapId)
    : bitmap_(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0,
                                              0, LR_CREATEDIBSECTION))) {}

void WindowlessPicture::Paint(HWND form, HDC dc, const RECT& target) const {
  if (!bitmap_) return;
  const int saved = SaveDC(dc);
  for (HWND child = GetWindow(form, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  BITMAP info{};
  GetObjectW(bitmap_.get(), sizeof(info), &info);
  const platform::UniqueMemoryDc source(CreateCompatibleDC(dc));
  HGDIOBJ old = SelectObject(source.get(), bitmap_.get());
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
             source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(source.get(), old);
  RestoreDC(dc, saved);
}

}  // namespace lumenor::app
