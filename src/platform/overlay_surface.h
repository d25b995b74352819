#pragma once
// What the dimming overlay does with its window over one display: one flat colour blended over
// everything beneath at one opacity, above other windows, the mouse passing through to whatever
// lies beneath. How the window system does it (layered and transparent styles, the layered
// attributes, the topmost band) is the implementation's.

#include <cstdint>
#include <memory>

#include "platform/pixel_rect.h"

namespace lumenor::platform {

// A colour as the window system stores it: 0x00BBGGRR.
using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<ColorRef>(red) | static_cast<ColorRef>(green) << 8 |
         static_cast<ColorRef>(blue) << 16;
}

class OverlaySurface {
 public:
  virtual ~OverlaySurface() = default;

  // Blended at its opacity and transparent to the mouse from now on; nothing else of the window
  // changes (it stays hidden, on top, where it is).
  virtual void MakeClickThrough() = 0;
  virtual bool IsClickThrough() = 0;

  // 0 (clear) … 255 (opaque). A surface that is not click-through yet takes no opacity.
  virtual void SetOpacity(std::uint8_t alpha) = 0;
  // The colour its whole area is painted with; a change repaints it.
  virtual void SetColour(ColorRef colour) = 0;

  // Into the topmost band, above every window raised before, neither showing, moving nor
  // activating it.
  virtual void Raise() = 0;
  virtual bool IsRaised() = 0;

  // Moves and sizes it over `area`, keeping its place in the z-order.
  virtual void Cover(const PixelRect& area) = 0;
  // Where it is on the desktop now.
  virtual PixelRect Bounds() = 0;

  virtual bool IsShowing() = 0;
  // Shows it without activating it or taking the focus.
  virtual void Show() = 0;
  virtual void Hide() = 0;

  // Left out of screenshots and screen sharing (true) or shown in them like any window. A system
  // that cannot leave a window out of capture (before Windows 10 2004) is not asked.
  virtual void KeepOutOfCapture(bool out) = 0;
};

// Makes the overlay's surfaces: each freshly created, hidden, and destroyed with its object.
class OverlaySurfaces {
 public:
  virtual ~OverlaySurfaces() = default;
  virtual std::unique_ptr<OverlaySurface> Create() = 0;
};

}  // namespace lumenor::platform
