#pragma once
// platform::OverlaySurface over a real window: a layered, mouse-transparent window in the topmost
// band. It does not own the window; it keeps the colour the window paints with.
#include <windows.h>

#include "platform/overlay_surface.h"

namespace lumenor::platform {

// Added to the window's own extended style to make it click-through: layered (blended at its
// alpha) and transparent to the mouse, and nothing else.
inline constexpr DWORD kClickThroughExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT;  // 0x80020
// The opacity goes with LWA_ALPHA only, so this key never takes effect.
inline constexpr COLORREF kInertColourKey = RGB(0, 1, 0);  // 0x100

class Win32OverlaySurface : public OverlaySurface {
 public:
  // window must outlive this object.
  Win32OverlaySurface(HWND window, COLORREF colour) : window_(window), colour_(colour) {}
  Win32OverlaySurface(const Win32OverlaySurface&) = delete;
  Win32OverlaySurface& operator=(const Win32OverlaySurface&) = delete;

  void MakeClickThrough() override;
  bool IsClickThrough() override;
  void SetOpacity(std::uint8_t alpha) override;
  void SetColour(ColorRef colour) override;
  void Raise() override;
  bool IsRaised() override;
  void Cover(const PixelRect& area) override;
  PixelRect Bounds() override;
  bool IsShowing() override;
  void Show() override;
  void Hide() override;
  void KeepOutOfCapture(bool out) override;

  // What the window's WM_PAINT fills its client area with.
  COLORREF Colour() const { return colour_; }

 protected:
  // For a window that is both: the window is bound once it has been created.
  explicit Win32OverlaySurface(COLORREF colour) : colour_(colour) {}
  void BindSurface(HWND window) { window_ = window; }

 private:
  DWORD ExtendedStyle() const;

  HWND window_ = nullptr;
  COLORREF colour_;
};

}  // namespace lumenor::platform
