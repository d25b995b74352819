#pragma once
// What the darkness road's plan moves on the dimming overlays, and what it plans for them now.

#include <cstdint>

#include "overlay/dim_overlay.h"

namespace lumenor::overlay {

// The overlays as the road plans them: shown or hidden, and their colour and opacity.
struct OverlayLook {
  bool showing = false;
  DarknessLook look{kDesignBackground, kCreationAlpha};  // made grey at 200
  friend bool operator==(const OverlayLook&, const OverlayLook&) = default;
};

class OverlayControl {
 public:
  virtual ~OverlayControl() = default;
  virtual void Prepare() = 0;  // the windows made, hidden, when they are not yet
  virtual void Show() = 0;     // changes neither colour nor opacity
  virtual void Hide() = 0;
  // Black for v < 0, white for v > 0, colour kept at 0; opacity |v|, whether showing or not.
  virtual void ApplyDarkness(std::int16_t value) = 0;
};

}  // namespace lumenor::overlay
