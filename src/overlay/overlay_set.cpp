#include "overlay/overlay_set.h"

#include <algorithm>
#include <utility>

namespace lumenor::overlay {

struct OverlaySet::Overlay {
  explicit Overlay(std::unique_ptr<platform::OverlaySurface> made)
      : window(std::move(made)), overlay(*window) {}

  std::string identity;
  std::unique_ptr<platform::OverlaySurface> window;
  DimOverlay overlay;
};

OverlaySet::OverlaySet(platform::OverlaySurfaces& windows, PlannedLook planned)
    : windows_(windows), planned_(std::move(planned)) {}

OverlaySet::~OverlaySet() = default;

std::unique_ptr<OverlaySet::Overlay> OverlaySet::Make(const display::FollowedDisplay& display) {
  auto made = std::make_unique<Overlay>(windows_.Create());
  made->identity = display.identity;
  made->overlay.Create(display.bounds);
  made->window->KeepOutOfCapture(outOfCapture_);
  // A display that comes later looks as the plan has the others.
  const OverlayLook planned = planned_();
  made->overlay.ShowLook(planned.look);
  if (planned.showing && display.included) made->overlay.Show();
  return made;
}

void OverlaySet::KeepOutOfCapture(bool out) {
  outOfCapture_ = out;
  for (const auto& made : overlays_) made->window->KeepOutOfCapture(out);
}

void OverlaySet::Ensure() {
  if (created_) return;
  created_ = true;
  for (const display::FollowedDisplay& display : displays_) overlays_.push_back(Make(display));
}

void OverlaySet::Prepare() {
  Ensure();
}

bool OverlaySet::IsShowing() {
  Ensure();
  return planned_().showing;
}

void OverlaySet::Show() {
  Ensure();
  // The overlays stand in the order of the displays last followed, which say who is included.
  for (std::size_t k = 0; k < overlays_.size(); ++k) {
    if (displays_[k].included) overlays_[k]->overlay.Show();
  }
}

void OverlaySet::Hide() {
  Ensure();
  for (auto& o : overlays_) o->overlay.Hide();
}

void OverlaySet::ApplyDarkness(std::int16_t value) {
  Ensure();
  for (auto& o : overlays_) o->overlay.ApplyDarkness(value);
}

void OverlaySet::Follow(const std::vector<display::FollowedDisplay>& displays) {
  const std::vector<display::FollowedDisplay> before = std::exchange(displays_, displays);
  if (!created_) return;
  std::vector<std::unique_ptr<Overlay>> next;
  for (const display::FollowedDisplay& display : displays) {
    auto known = std::find_if(overlays_.begin(), overlays_.end(),
                              [&](const auto& o) { return o && o->identity == display.identity; });
    if (known == overlays_.end()) {
      next.push_back(Make(display));
      continue;
    }
    std::unique_ptr<Overlay> o = std::move(*known);
    const auto was = std::find_if(before.begin(), before.end(),
                                  [&](const auto& d) { return d.identity == display.identity; });
    if (was == before.end() || was->bounds != display.bounds) o->overlay.Cover(display.bounds);
    if (was != before.end() && was->included != display.included) {
      if (!display.included) {
        o->overlay.Hide();
      } else if (planned_().showing) {
        o->overlay.Show();
      }
    }
    next.push_back(std::move(o));
  }
  overlays_ = std::move(next);  // the displays gone take their windows along
}

void OverlaySet::KeepOnTop() {
  for (auto& o : overlays_) o->overlay.OnKeepOnTopTick();
}

}  // namespace lumenor::overlay
