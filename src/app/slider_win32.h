#pragma once
// A horizontal common-controls trackbar behind the two notifications the main window relies on:
// scroll (the user moved it: thumb drag, track click, keys, wheel) and change (its value changed,
// also when the program set it). The parent forwards the trackbar's WM_HSCROLL to HandleScroll.

#include <windows.h>

#include <functional>

#include "app/control_window_win32.h"

namespace lumenor::app {

class SliderControl {
 public:
  using CreateArgs = ControlPlace;

  explicit SliderControl(const CreateArgs& args);
  ~SliderControl();
  SliderControl(const SliderControl&) = delete;
  SliderControl& operator=(const SliderControl&) = delete;

  HWND Window() const { return window_; }

  // The value last reported or set: during a drag, the thumb's position from the notification.
  int Value() const { return lastValue_; }
  int Minimum() const;
  int Maximum() const;
  // Raises nothing; the trackbar keeps its position inside the new range.
  void SetRange(int minimum, int maximum);
  // Raises onChange when the value (held inside the range) differs from the last one.
  void SetValue(int value);

  // The trackbar's WM_HSCROLL: wParam as the parent received it.
  void HandleScroll(WPARAM wParam);

  std::function<void()> onScroll;
  std::function<void()> onChange;

 private:
  int Position() const;  // the trackbar's own TBM_GETPOS
  void NoteValue(int value);

  HWND window_ = nullptr;
  int lastValue_ = 0;
};

}  // namespace lumenor::app
