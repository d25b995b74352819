#pragma once
// mask_form_black on every display: one overlay window per display attached, each covering
// exactly its display, all at the same colour and opacity. The darkness road's plan moves all of
// them at once; a display the user left out keeps its overlay hidden. The set keeps no look of its
// own: a window made later asks the road's plan how to look. Platform-free: the windows come from
// platform::OverlaySurfaces.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/display_follower.h"
#include "overlay/dim_overlay.h"
#include "overlay/overlay_control.h"

namespace lumenor::overlay {

class OverlaySet final : public OverlayControl, public display::DisplayFollower {
 public:
  using PlannedLook = std::function<OverlayLook()>;
  OverlaySet(platform::OverlaySurfaces& windows, PlannedLook planned);
  ~OverlaySet() override;
  OverlaySet(const OverlaySet&) = delete;
  OverlaySet& operator=(const OverlaySet&) = delete;

  // OverlayControl. The windows are created, hidden, on the first call of any of these.
  void Prepare() override;
  void Show() override;
  void Hide() override;
  void ApplyDarkness(std::int16_t value) override;

  // DisplayFollower
  void Follow(const std::vector<display::FollowedDisplay>& displays) override;
  void KeepOnTop() override;

  // Every overlay, those that come later too, left out of screen capture or shown in it.
  void KeepOutOfCapture(bool out);

  std::size_t WindowCount() const { return overlays_.size(); }
  // Whether the plan shows the overlays; makes the windows as any first use does.
  bool IsShowing();

 private:
  struct Overlay;

  void Ensure();
  std::unique_ptr<Overlay> Make(const display::FollowedDisplay& display);

  platform::OverlaySurfaces& windows_;
  std::vector<display::FollowedDisplay> displays_;
  std::vector<std::unique_ptr<Overlay>> overlays_;  // one per display once created
  PlannedLook planned_;
  bool created_ = false;
  bool outOfCapture_ = false;
};

}  // namespace lumenor::overlay
