#pragma once
// Where a control of a form goes (its parent, its id, its place) and the creation of its window,
// which the form's plain controls and the control wrappers share.

#include <windows.h>

namespace lumenor::app {

struct ControlPlace {
  HWND parent = nullptr;
  int id = 0;
  RECT bounds{};  // in the parent's client pixels
};

// A child window of place.parent, made with the parent's instance; null when the system refused it.
HWND CreateControlWindow(const wchar_t* className, const wchar_t* text, DWORD style,
                         const ControlPlace& place);

}  // namespace lumenor::app
