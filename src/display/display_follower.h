#pragma once
// What follows the displays as they come, go, move and are chosen: the overlays, one per display,
// and the monitors' backlight keepers.

#include <string>
#include <utility>
#include <vector>

#include "platform/displays.h"
#include "platform/pixel_rect.h"

namespace lumenor::display {

struct FollowedDisplay {
  std::string identity;  // the same display keeps it from one call to the next
  platform::PixelRect bounds;
  bool included = true;  // the user has not left it out
  platform::DisplayInfo info;  // as the system lists it: what opens its monitor
  friend bool operator==(const FollowedDisplay&, const FollowedDisplay&) = default;
};

class DisplayFollower {
 public:
  virtual ~DisplayFollower() = default;
  // The displays attached now, in the system's order.
  virtual void Follow(const std::vector<FollowedDisplay>& displays) = 0;
  // The 5 s tick: whatever covers the displays goes back on top.
  virtual void KeepOnTop() = 0;
};

// Several followers as one: each is told, in the order given. A null one is skipped.
class DisplayFollowers final : public DisplayFollower {
 public:
  explicit DisplayFollowers(std::vector<DisplayFollower*> followers)
      : followers_(std::move(followers)) {}
  void Follow(const std::vector<FollowedDisplay>& displays) override {
    for (DisplayFollower* follower : followers_) {
      if (follower != nullptr) follower->Follow(displays);
    }
  }
  void KeepOnTop() override {
    for (DisplayFollower* follower : followers_) {
      if (follower != nullptr) follower->KeepOnTop();
    }
  }

 private:
  std::vector<DisplayFollower*> followers_;
};

}  // namespace lumenor::display
