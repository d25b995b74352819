#pragma once
// mask_form_black's windows: each a click-through, topmost, layered popup that paints itself in
// its background colour. OverlaySet asks for one per display; each is destroyed with its object.

#include <windows.h>

#include <memory>

#include "platform/overlay_surface.h"

namespace lumenor::overlay {

class OverlayWindows final : public platform::OverlaySurfaces {
 public:
  explicit OverlayWindows(HINSTANCE instance) : instance_(instance) {}
  std::unique_ptr<platform::OverlaySurface> Create() override;

 private:
  HINSTANCE instance_;
};

}  // namespace lumenor::overlay
