#pragma once
// A windowless picture of a form, like the design's Image: painted in the form's own client area
// and covered by every control, the frame included.
#include <windows.h>

#include "platform/handles_win32.h"

namespace lumenor::app {

class WindowlessPicture {
 public:
  WindowlessPicture(HINSTANCE instance, int bitmapId);

  // Paints the picture stretched into target, leaving out the visible child windows of form.
  void Paint(HWND form, HDC dc, const RECT& target) const;

 private:
  platform::UniqueBitmap bitmap_;
};

}  // namespace lumenor::app
