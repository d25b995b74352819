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

DimOverlay::DimOverlay(platform::OverlaySurface& window) : window_(window) {}

void DimOverlay::Create(const platform::PixelRect& display) {
  window_.MakeClickThrough();
  window_.SetOpacity(kCreationAlpha);
  window_.Raise();
  Cover(display);
}

void DimOverlay::OnKeepOnTopTick() {
  window_.Raise();
  if (window_.Bounds() != display_) window_.Cover(display_);
}

void DimOverlay::Cover(const platform::PixelRect& display) {
  display_ = display;
  window_.Cover(display);
}

bool DimOverlay::IsShowing() {
  return window_.IsShowing();
}

void DimOverlay::Show() {
  window_.Show();
}

void DimOverlay::Hide() {
  window_.Hide();
}

void DimOverlay::ApplyDarkness(std::int16_t value) {
  ShowLook(LookForDarkness(value));
}

void DimOverlay::ShowLook(const DarknessLook& look) {
  if (look.background) window_.SetColour(*look.background);
  window_.SetOpacity(look.alpha);
}

}  // namespace lumenor::overlay
