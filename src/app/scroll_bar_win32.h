#pragma once
// A horizontal scroll bar control behind two notifications: its thumb dragged, and its value moved
// by arrows, track clicks or keys (which apply nothing); setting the value or the range raises
// nothing. The parent forwards the bar's WM_HSCROLL to HandleScroll.

#include <windows.h>

#include <functional>
#include <utility>

#include "app/control_window_win32.h"

namespace lumenor::app {

class ScrollBarControl {
 public:
  using CreateArgs = ControlPlace;

  explicit ScrollBarControl(const CreateArgs& args);
  ~ScrollBarControl();
  ScrollBarControl(const ScrollBarControl&) = delete;
  ScrollBarControl& operator=(const ScrollBarControl&) = delete;

  HWND Window() const { return window_; }

  int Value() const;
  int Minimum() const;
  int Maximum() const;
  // Both raise nothing; the bar keeps its value inside its range.
  void SetRange(int minimum, int maximum);
  void SetValue(int value);

  // The bar's WM_HSCROLL: wParam as the parent received it. Small and large changes are 1.
  void HandleScroll(WPARAM wParam);

  std::function<void()> onThumbDrag;  // the value follows the dragged thumb, then this is raised
  std::function<void()> onMove;       // the value moved by an arrow, the track or a key

 private:
  std::pair<int, int> Range() const;

  HWND window_ = nullptr;
};

}  // namespace lumenor::app
