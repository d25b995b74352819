#pragma once
// What the main window needs of the dimming overlay. The overlay window is created on the first
// call of any member (IsShowing included), hidden.

#include <cstdint>

namespace lumenor::overlay {

class OverlayControl {
 public:
  virtual ~OverlayControl() = default;
  virtual bool IsShowing() = 0;
  virtual void Show() = 0;  // changes neither colour nor opacity
  virtual void Hide() = 0;
  // Black for v < 0, white for v > 0, colour kept at 0; opacity |v|. Applies whether showing or not:
  // the caller decides (the darkness update acts only while the overlay shows).
  virtual void ApplyDarkness(std::int16_t value) = 0;
};

}  // namespace lumenor::overlay
