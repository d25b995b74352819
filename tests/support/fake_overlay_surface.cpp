#include "support/fake_overlay_surface.h"

#include <cstdio>

namespace lumenor::testing {

FakeOverlaySurface::~FakeOverlaySurface() {
  if (destroyed != nullptr) *destroyed = true;
}

void FakeOverlaySurface::MakeClickThrough() {
  calls.push_back("MakeClickThrough");
  clickThrough = true;
}

void FakeOverlaySurface::SetOpacity(std::uint8_t newAlpha) {
  calls.push_back("SetOpacity " + std::to_string(newAlpha));
  // Only a blended window has an opacity.
  if (clickThrough) alpha = newAlpha;
}

void FakeOverlaySurface::SetColour(platform::ColorRef newColour) {
  char text[32];
  std::snprintf(text, sizeof text, "SetColour 0x%x", static_cast<unsigned>(newColour));
  calls.push_back(text);
  colour = newColour;
}

void FakeOverlaySurface::Raise() {
  calls.push_back("Raise");
  raised = true;
}

void FakeOverlaySurface::Cover(const platform::PixelRect& area) {
  calls.push_back("Cover " + std::to_string(area.left) + " " + std::to_string(area.top) + " " +
                  std::to_string(area.Width()) + " " + std::to_string(area.Height()));
  bounds = area;
}

platform::PixelRect FakeOverlaySurface::Bounds() {
  calls.push_back("Bounds");
  return bounds;
}

bool FakeOverlaySurface::IsShowing() {
  calls.push_back("IsShowing");
  return visible;
}

void FakeOverlaySurface::Show() {
  calls.push_back("Show");
  visible = true;
}

void FakeOverlaySurface::Hide() {
  calls.push_back("Hide");
  visible = false;
}

void FakeOverlaySurface::KeepOutOfCapture(bool out) {
  calls.push_back(out ? "KeepOutOfCapture 1" : "KeepOutOfCapture 0");
  outOfCapture = out;
}

std::unique_ptr<platform::OverlaySurface> FakeOverlaySurfaces::Create() {
  auto surface = std::make_unique<FakeOverlaySurface>();
  made.push_back(surface.get());
  gone.push_back(std::make_unique<bool>(false));
  surface->destroyed = gone.back().get();
  return surface;
}

std::vector<FakeOverlaySurface*> FakeOverlaySurfaces::Live() const {
  std::vector<FakeOverlaySurface*> live;
  for (std::size_t k = 0; k < made.size(); ++k) {
    if (!*gone[k]) live.push_back(made[k]);
  }
  return live;
}

}  // namespace lumenor::testing
