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

void FakeLayeredWindow::MoveAndSize(const platform::PixelRect& bounds) {
  calls.push_back("MoveAndSize " + std::to_string(bounds.left) + " " + std::to_string(bounds.top) +
                  " " + std::to_string(bounds.Width()) + " " + std::to_string(bounds.Height()));
  left = bounds.left;
  top = bounds.top;
  width = bounds.Width();
  height = bounds.Height();
}

platform::PixelRect FakeLayeredWindow::WindowBounds() {
  calls.push_back("WindowBounds");
  return {left, top, left + width, top + height};
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

FakeLayeredWindow::~FakeLayeredWindow() {
  if (destroyed != nullptr) *destroyed = true;
}

std::unique_ptr<platform::LayeredWindow> FakeLayeredWindows::Create() {
  auto window = std::make_unique<FakeLayeredWindow>();
  made.push_back(window.get());
  gone.push_back(std::make_unique<bool>(false));
  window->destroyed = gone.back().get();
  return window;
}

std::vector<FakeLayeredWindow*> FakeLayeredWindows::Live() const {
  std::vector<FakeLayeredWindow*> live;
  for (std::size_t k = 0; k < made.size(); ++k) {
    if (!*gone[k]) live.push_back(made[k]);
  }
  return live;
}

}  // namespace lumenor::testing
