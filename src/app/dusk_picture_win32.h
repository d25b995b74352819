#pragma once
// The main window's decorative picture: dusk over three rows of hills with the sun low on the
// right, drawn with GDI at whatever size the window asks for, so it stays sharp at any DPI.
#include <windows.h>

namespace lumenor::app {

// Draws the whole scene stretched to target (device units of dc). Drawing stays inside target and
// the clip region dc already has; dc's state is restored before returning.
void PaintDuskPicture(HDC dc, const RECT& target);

}  // namespace lumenor::app
