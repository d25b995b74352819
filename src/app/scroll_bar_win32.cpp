#include "app/scroll_bar_win32.h"

#include <commctrl.h>

#include <utility>

namespace lumenor::app {

ScrollBarControl::ScrollBarControl(const CreateArgs& args) {
  // Every control of the form clips its siblings, so one created earlier stays on top.
  window_ = CreateControlWindow(
      WC_SCROLLBARW, L"",
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_GROUP | SBS_HORZ, args);
}

ScrollBarControl::~ScrollBarControl() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

int ScrollBarControl::Value() const {
  return GetScrollPos(window_, SB_CTL);
}
int ScrollBarControl::Minimum() const {
  return Range().first;
}
int ScrollBarControl::Maximum() const {
  return Range().second;
}
std::pair<int, int> ScrollBarControl::Range() const {
  int minimum = 0;
  int maximum = 0;
  GetScrollRange(window_, SB_CTL, &minimum, &maximum);
  return {minimum, maximum};
}

void ScrollBarControl::SetRange(int minimum, int maximum) {
  SetScrollRange(window_, SB_CTL, minimum, maximum, TRUE);
}

void ScrollBarControl::SetValue(int value) {
  SetScrollPos(window_, SB_CTL, value, TRUE);
}

void ScrollBarControl::HandleScroll(WPARAM wParam) {
  const int code = LOWORD(wParam);
  SCROLLINFO info{static_cast<UINT>(sizeof(info)), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(window_, SB_CTL, &info);
  int value = info.nPos;
  switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      value -= 1;
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      value += 1;
      break;
    case SB_LEFT:
      value = info.nMin;
      break;
    case SB_RIGHT:
      value = info.nMax;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      value = info.nTrackPos;
      break;
    default:
      return;
  }
  SetValue(value);
  if (code == SB_THUMBTRACK) {
    if (onThumbDrag) onThumbDrag();
  } else if (onMove) {
    onMove();
  }
}

}  // namespace lumenor::app
