#pragma once
// The dimming overlay as fields: created on first use, hidden, light grey at opacity 200.
#include <cstdint>
#include <vector>

#include "display/display_follower.h"
#include "overlay/overlay_control.h"

namespace lumenor::testing {

// It follows the displays by recording what it was told.
class FakeOverlay : public overlay::OverlayControl, public display::DisplayFollower {
 public:
  enum class Colour { Grey, Black, White };

  void Prepare() override { Create(); }
  void Show() override;
  void Hide() override;
  void ApplyDarkness(std::int16_t value) override;
  void Follow(const std::vector<display::FollowedDisplay>& displays) override {
    followed.push_back(displays);
  }
  void KeepOnTop() override { ++keptOnTop; }

  bool created = false;
  bool showing = false;
  Colour colour = Colour::Grey;
  int opacity = 200;
  std::vector<std::int16_t> applied;  // every value handed to ApplyDarkness, in order
  std::vector<std::vector<display::FollowedDisplay>> followed;  // every Follow, in order
  int keptOnTop = 0;

 private:
  void Create() { created = true; }
};

}  // namespace lumenor::testing
