#pragma once
// mask_form_black: one overlay window, a click-through, topmost, layered popup that paints itself
// in its colour; and the factory OverlaySet asks for one per display. Each window is destroyed
// with its object.

#include <windows.h>

#include <memory>

#include "platform/overlay_surface.h"
#include "platform/overlay_surface_win32.h"

namespace lumenor::overlay {

class OverlayWindow final : public platform::Win32OverlaySurface {
 public:
  // Creates the window, hidden, with the design's light grey.
  explicit OverlayWindow(HINSTANCE instance);
  ~OverlayWindow() override;
  OverlayWindow(const OverlayWindow&) = delete;
  OverlayWindow& operator=(const OverlayWindow&) = delete;

 private:
  struct Impl;  // the window itself: its class, its painting and its mouse transparency
  std::unique_ptr<Impl> impl_;
};

class OverlayWindows final : public platform::OverlaySurfaces {
 public:
  explicit OverlayWindows(HINSTANCE instance) : instance_(instance) {}
  std::unique_ptr<platform::OverlaySurface> Create() override;

 private:
  HINSTANCE instance_;
};

}  // namespace lumenor::overlay
