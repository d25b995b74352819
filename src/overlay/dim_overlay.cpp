#include "overlay/dim_overlay.h"

#include <cstdlib>

namespace lumenor::overlay {

DarknessLook LookForDarkness(std::int16_t value) {
  DarknessLook look;
  if (value < 0) {
    look.background = kBlack;
  } else if (value > 0) {
    look.background = kWhite;
  }
  const int magnitude = std::abs(static_cast<int>(value));
  look.alpha = static_cast<std::uint8_t>(magnitude > 255 ? 255 : magnitude);
  return look;
}

DimOverlay::DimOverlay(platform::LayeredWindow& window) : window_(window) {}

void DimOverlay::Create(const platform::PixelRect& display) {
  window_.SetExtendedStyle(window_.ExtendedStyle() | kOverlayExStyleBits);
  window_.SetLayeredAttributes(0, kCreationAlpha, platform::kLayeredAlpha);
  window_.BringToTopmost();
  Cover(display);
}

void DimOverlay::OnKeepOnTopTick() {
  window_.BringToTopmost();
  if (window_.WindowBounds() != display_) window_.MoveAndSize(display_);
}

void DimOverlay::Cover(const platform::PixelRect& display) {
  display_ = display;
  window_.MoveAndSize(display);
}

bool DimOverlay::IsShowing() {
  return window_.IsVisible();
}

void DimOverlay::Show() {
  window_.Show();
}

void DimOverlay::Hide() {
  window_.Hide();
}

void DimOverlay::ApplyDarkness(std::int16_t value) {
  const DarknessLook look = LookForDarkness(value);
  if (look.background) window_.SetBackground(*look.background);
  window_.SetLayeredAttributes(kDarknessColorKey, look.alpha, platform::kLayeredAlpha);
}

}  // namespace lumenor::overlay
