#pragma once
// An overlay surface as the overlay relies on the window system keeping one: it holds whether it is
// click-through and raised, its opacity, rectangle, colour and visibility, and logs every call in
// order.
#include <memory>
#include <string>
#include <vector>

#include "platform/overlay_surface.h"

namespace lumenor::testing {

class FakeOverlaySurface : public platform::OverlaySurface {
 public:
  ~FakeOverlaySurface() override;

  void MakeClickThrough() override;
  bool IsClickThrough() override { return clickThrough; }
  void SetOpacity(std::uint8_t alpha) override;
  void SetColour(platform::ColorRef colour) override;
  void Raise() override;
  bool IsRaised() override { return raised; }
  void Cover(const platform::PixelRect& area) override;
  platform::PixelRect Bounds() override;
  bool IsShowing() override;
  void Show() override;
  void Hide() override;
  void KeepOutOfCapture(bool out) override;

  // The state of a freshly created, hidden window.
  bool clickThrough = false;
  int alpha = -1;  // -1: never set
  bool raised = false;
  platform::PixelRect bounds;
  platform::ColorRef colour = platform::MakeColorRef(192, 192, 192);
  bool visible = false;
  bool outOfCapture = false;
  bool* destroyed = nullptr;  // set when the surface goes

  // Every call, in order, e.g. "MakeClickThrough", "SetOpacity 126", "Cover 0 0 1280 800".
  std::vector<std::string> calls;
};

// The overlay's surfaces as the fake window system makes them: every surface made, in order, and
// which of them still exist.
class FakeOverlaySurfaces : public platform::OverlaySurfaces {
 public:
  std::unique_ptr<platform::OverlaySurface> Create() override;
  std::vector<FakeOverlaySurface*> Live() const;  // in the order they were made

  std::vector<FakeOverlaySurface*> made;
  std::vector<std::unique_ptr<bool>> gone;
};

}  // namespace lumenor::testing
