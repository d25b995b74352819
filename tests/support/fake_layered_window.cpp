#include "support/fake_layered_window.h"

#include <cstdio>

namespace lumenor::testing {

namespace {
std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}
}  // namespace

std::uint32_t FakeLayeredWindow::ExtendedStyle() {
  calls.push_back("ExtendedStyle");
  return exStyle;
}

void FakeLayeredWindow::SetExtendedStyle(std::uint32_t style) {
  calls.push_back("SetExtendedStyle " + Hex(style));
  // The window system keeps WS_EX_TOPMOST to itself: only SetWindowPos changes it.
  exStyle = (style & ~platform::kExStyleTopmost) | (exStyle & platform::kExStyleTopmost);
}

void FakeLayeredWindow::SetLayeredAttributes(platform::ColorRef key, std::uint8_t newAlpha,
                                             std::uint32_t flags) {
  calls.push_back("SetLayeredAttributes " + Hex(key) + " " + std::to_string(newAlpha) + " " +
                  std::to_string(flags));
  // Only a layered window takes layered attributes.
  if ((exStyle & platform::kExStyleLayered) == 0) return;
  colorKey = key;
  if (flags & platform::kLayeredAlpha) alpha = newAlpha;
  layeredFlags = flags;
}

void FakeLayeredWindow::BringToTopmost() {
  calls.push_back("BringToTopmost");
  topmost = true;
  exStyle |= platform::kExStyleTopmost;
}

void FakeLayeredWindow::MoveAndSize(int newLeft, int newTop, int newWidth, int newHeight) {
  calls.push_back("MoveAndSize " + std::to_string(newLeft) + " " + std::to_string(newTop) + " " +
                  std::to_string(newWidth) + " " + std::to_string(newHeight));
  left = newLeft;
  top = newTop;
  width = newWidth;
  height = newHeight;
}

platform::ScreenSize FakeLayeredWindow::WindowSize() {
  calls.push_back("WindowSize");
  return {width, height};
}

void FakeLayeredWindow::SetBackground(platform::ColorRef colour) {
  calls.push_back("SetBackground " + Hex(colour));
  background = colour;
}

bool FakeLayeredWindow::IsVisible() {
  calls.push_back("IsVisible");
  return visible;
}

void FakeLayeredWindow::Show() {
  calls.push_back("Show");
  visible = true;
}

void FakeLayeredWindow::Hide() {
  calls.push_back("Hide");
  visible = false;
}

platform::ScreenSize FakeLayeredWindow::PrimaryScreenSize() {
  calls.push_back("PrimaryScreenSize");
  return screen;
}

void FakeLayeredWindow::StartTimer(unsigned intervalMilliseconds) {
  calls.push_back("StartTimer " + std::to_string(intervalMilliseconds));
  timerInterval = intervalMilliseconds;
}

}  // namespace lumenor::testing
