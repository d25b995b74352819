#pragma once
// A top-level window blended over the screen at one opacity: the calls the dimming overlay makes on
// its window, and nothing else. None of their results is examined by the overlay.

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

// Extended-style bits and layered-attribute flags, with the window system's values.
inline constexpr std::uint32_t kExStyleTopmost = 0x00000008;      // WS_EX_TOPMOST
inline constexpr std::uint32_t kExStyleTransparent = 0x00000020;  // WS_EX_TRANSPARENT
inline constexpr std::uint32_t kExStyleToolWindow = 0x00000080;   // WS_EX_TOOLWINDOW
inline constexpr std::uint32_t kExStyleLayered = 0x00080000;      // WS_EX_LAYERED
inline constexpr std::uint32_t kExStyleNoActivate = 0x08000000;   // WS_EX_NOACTIVATE
inline constexpr std::uint32_t kLayeredColorKey = 0x1;            // LWA_COLORKEY
inline constexpr std::uint32_t kLayeredAlpha = 0x2;               // LWA_ALPHA

class LayeredWindow {
 public:
  virtual ~LayeredWindow() = default;

  // GetWindowLong / SetWindowLong with GWL_EXSTYLE.
  virtual std::uint32_t ExtendedStyle() = 0;
  virtual void SetExtendedStyle(std::uint32_t style) = 0;

  // SetLayeredWindowAttributes: only the parts the flags name take effect.
  virtual void SetLayeredAttributes(ColorRef colorKey, std::uint8_t alpha, std::uint32_t flags) = 0;

  // SetWindowPos to HWND_TOPMOST, position and size arguments 0, neither moving, sizing, showing
  // nor activating the window.
  virtual void BringToTopmost() = 0;
  // SetWindowPos with a new position and size, keeping the z-order and activation.
  virtual void MoveAndSize(const PixelRect& bounds) = 0;
  // The window's rectangle on the desktop, as it is now.
  virtual PixelRect WindowBounds() = 0;

  // The colour the window's client area is painted with; a change repaints it.
  virtual void SetBackground(ColorRef colour) = 0;

  virtual bool IsVisible() = 0;
  // Shows the window without activating it or taking the focus.
  virtual void Show() = 0;
  virtual void Hide() = 0;
};

// Makes the overlay's windows: each freshly created, hidden, and destroyed with its object.
class LayeredWindows {
 public:
  virtual ~LayeredWindows() = default;
  virtual std::unique_ptr<LayeredWindow> Create() = 0;
};

}  // namespace lumenor::platform
