#pragma once
// The form's windowless picture, like the design's Image: painted in the form's own client area
// and covered by every control, the frame included.
#include <windows.h>

namespace lumenor::app {

// Paints the dusk picture into target, leaving out the visible child windows of form.
void PaintWindowlessPicture(HWND form, HDC dc, const RECT& target);

}  // namespace lumenor::app
