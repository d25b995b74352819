#include "platform/layered_window_win32.h"

namespace lumenor::platform {

namespace {
// Z-order changes never activate the window: a timer tick must not take the focus from the
// window the user is working in.
constexpr UINT kTopmostFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
}  // namespace

std::uint32_t Win32LayeredWindow::ExtendedStyle() {
  return static_cast<std::uint32_t>(GetWindowLongW(window_, GWL_EXSTYLE));
}

void Win32LayeredWindow::SetExtendedStyle(std::uint32_t style) {
  SetWindowLongW(window_, GWL_EXSTYLE, static_cast<LONG>(style));
}

void Win32LayeredWindow::SetLayeredAttributes(ColorRef colorKey, std::uint8_t alpha,
                                              std::uint32_t flags) {
  SetLayeredWindowAttributes(window_, colorKey, alpha, flags);
}

void Win32LayeredWindow::BringToTopmost() {
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
}

void Win32LayeredWindow::MoveAndSize(const PixelRect& bounds) {
  SetWindowPos(window_, nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
               SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

PixelRect Win32LayeredWindow::WindowBounds() {
  RECT rect{};
  if (!GetWindowRect(window_, &rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void Win32LayeredWindow::SetBackground(ColorRef colour) {
  if (colour == background_) return;
  background_ = colour;
  InvalidateRect(window_, nullptr, TRUE);
}

bool Win32LayeredWindow::IsVisible() {
  return IsWindowVisible(window_) != FALSE;
}

void Win32LayeredWindow::Show() {
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags | SWP_SHOWWINDOW);
}

void Win32LayeredWindow::Hide() {
  ShowWindow(window_, SW_HIDE);
}

}  // namespace lumenor::platform
