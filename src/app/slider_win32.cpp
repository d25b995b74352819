#include "app/slider_win32.h"

#include <commctrl.h>

#include <algorithm>

namespace lumenor::app {
namespace {

constexpr int kSmallChange = 1;
constexpr int kLargeChange = 5;

}  // namespace

SliderControl::SliderControl(const CreateArgs& args) {
  window_ = CreateControlWindow(
      TRACKBAR_CLASSW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, args);
  SendMessageW(window_, TBM_SETLINESIZE, 0, kSmallChange);
  SendMessageW(window_, TBM_SETPAGESIZE, 0, kLargeChange);
  lastValue_ = Position();
}

SliderControl::~SliderControl() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

int SliderControl::Position() const {
  return static_cast<int>(SendMessageW(window_, TBM_GETPOS, 0, 0));
}
int SliderControl::Minimum() const {
  return static_cast<int>(SendMessageW(window_, TBM_GETRANGEMIN, 0, 0));
}
int SliderControl::Maximum() const {
  return static_cast<int>(SendMessageW(window_, TBM_GETRANGEMAX, 0, 0));
}

void SliderControl::SetRange(int minimum, int maximum) {
  // TBM_SETRANGE packs both ends into 16-bit halves; these two take whole (negative) values.
  SendMessageW(window_, TBM_SETRANGEMIN, FALSE, minimum);
  SendMessageW(window_, TBM_SETRANGEMAX, FALSE, maximum);
  // A tick every tenth of the range: one per step would fill the track.
  SendMessageW(window_, TBM_SETTICFREQ, static_cast<WPARAM>(std::max(1, (maximum - minimum) / 10)),
               0);
  InvalidateRect(window_, nullptr, TRUE);
  lastValue_ = Position();
}

void SliderControl::SetValue(int value) {
  SendMessageW(window_, TBM_SETPOS, TRUE, std::clamp(value, Minimum(), Maximum()));
  NoteValue(Position());
}

void SliderControl::HandleScroll(WPARAM wParam) {
  const int code = LOWORD(wParam);
  if (code == TB_ENDTRACK) {
    // The key or button was let go; the value moved with the notifications before.
    NoteValue(Position());
    return;
  }
  // During a drag the message carries the thumb's position (signed: the range may be negative);
  // otherwise the trackbar has already moved and reports it.
  const int value = code == TB_THUMBTRACK || code == TB_THUMBPOSITION
                        ? static_cast<short>(HIWORD(wParam))
                        : Position();
  const bool moved = value != lastValue_;
  NoteValue(value);
  // TB_THUMBPOSITION closes a drag whose every position was reported already.
  if (code == TB_THUMBPOSITION && !moved) return;
  if (onScroll) onScroll();
}

void SliderControl::NoteValue(int value) {
  if (value == lastValue_) return;
  lastValue_ = value;
  if (onChange) onChange();
}

}  // namespace lumenor::app
