#pragma once
// mask_form_black on every display: one overlay window per display attached, each covering
// exactly its display, all at the same colour and opacity. The main window's check box, darkness
// bar and hotkeys act on all of them at once; a display the user left out keeps its overlay
// hidden. Platform-free: the windows come from platform::OverlaySurfaces.

#include <cstdint>
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
  explicit OverlaySet(platform::OverlaySurfaces& windows);
  ~OverlaySet() override;
  OverlaySet(const OverlaySet&) = delete;
  OverlaySet& operator=(const OverlaySet&) = delete;

  // OverlayControl. The windows are created, hidden, on the first call of any of these.
  bool IsShowing() override;
  void Show() override;
  void Hide() override;
  void ApplyDarkness(std::int16_t value) override;

  // DisplayFollower
  void Follow(const std::vector<display::FollowedDisplay>& displays) override;
  void KeepOnTop() override;

  // Every overlay, those that come later too, left out of screen capture or shown in it.
  void KeepOutOfCapture(bool out);

  std::size_t WindowCount() const { return overlays_.size(); }

 private:
  struct Overlay;

  void Ensure();
  std::unique_ptr<Overlay> Make(const display::FollowedDisplay& display);

  platform::OverlaySurfaces& windows_;
  std::vector<display::FollowedDisplay> displays_;
  std::vector<std::unique_ptr<Overlay>> overlays_;  // one per display once created
  bool created_ = false;
  bool showing_ = false;
  bool outOfCapture_ = false;
  // What the darkness updates applied, for an overlay that comes later: the last value that set a
  // colour, and the last value.
  std::optional<std::int16_t> lastColourValue_;
  std::optional<std::int16_t> lastValue_;
};

}  // namespace lumenor::overlay
