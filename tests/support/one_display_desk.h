#pragma once
// The displays as a plain desk has them: one 1280×800 primary display behind the program's
// display set, with the fakes it talks to.
#include "display/display_set.h"
#include "support/fake_displays.h"
#include "support/fake_notices.h"
#include "support/fake_overlay.h"
#include "support/fake_timer.h"

namespace lumenor::testing {

struct OneDisplayDesk {
  static FakeDisplays OnePrimary() {
    FakeDisplays displays;
    displays.Attach({0, 0, 1280, 800}, true);
    return displays;
  }

  FakeDisplays displays = OnePrimary();
  FakeTimer rewriteTimer;
  FakeNotices notices;
  FakeOverlay overlay;
  display::DisplaySet set{displays, rewriteTimer, notices, overlay};
  FakeGammaDevice& display = displays.Gamma(0);
};

}  // namespace lumenor::testing
