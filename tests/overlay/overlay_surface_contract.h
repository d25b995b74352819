#pragma once
// What the overlay relies on a surface doing, run against the fake natively and against a real
// window under Wine. Env provides `platform::OverlaySurface& surface()` over a freshly created,
// hidden window.
#include <gtest/gtest.h>

#include "overlay/dim_overlay.h"
#include "platform/overlay_surface.h"

namespace lumenor::contract {

template <typename Env>
class OverlaySurfaceContract : public ::testing::Test {
 protected:
  platform::OverlaySurface& surface() { return env_.surface(); }

 private:
  Env env_;
};

TYPED_TEST_SUITE_P(OverlaySurfaceContract);

TYPED_TEST_P(OverlaySurfaceContract, AFreshSurfaceIsHiddenNotRaisedAndNotClickThrough) {
  platform::OverlaySurface& s = this->surface();
  EXPECT_FALSE(s.IsShowing());
  EXPECT_FALSE(s.IsRaised());
  EXPECT_FALSE(s.IsClickThrough());
}

TYPED_TEST_P(OverlaySurfaceContract, MakingItClickThroughChangesNothingElse) {
  platform::OverlaySurface& s = this->surface();
  const platform::PixelRect before = s.Bounds();
  s.MakeClickThrough();
  EXPECT_TRUE(s.IsClickThrough());
  EXPECT_FALSE(s.IsShowing());
  EXPECT_FALSE(s.IsRaised());
  EXPECT_EQ(s.Bounds(), before);
}

TYPED_TEST_P(OverlaySurfaceContract, ShowAndHideSetVisibility) {
  platform::OverlaySurface& s = this->surface();
  s.Show();
  EXPECT_TRUE(s.IsShowing());
  s.Hide();
  EXPECT_FALSE(s.IsShowing());
}

TYPED_TEST_P(OverlaySurfaceContract, RaisingAHiddenSurfaceNeverShowsIt) {
  platform::OverlaySurface& s = this->surface();
  s.Raise();
  EXPECT_FALSE(s.IsShowing());
  EXPECT_TRUE(s.IsRaised());
}

TYPED_TEST_P(OverlaySurfaceContract, MakingItClickThroughKeepsItRaised) {
  platform::OverlaySurface& s = this->surface();
  s.Raise();
  s.MakeClickThrough();
  EXPECT_TRUE(s.IsRaised());
}

TYPED_TEST_P(OverlaySurfaceContract, TheBoundsReadBackWhereverItWasPut) {
  platform::OverlaySurface& s = this->surface();
  for (const platform::PixelRect bounds :
       {platform::PixelRect{10, 20, 310, 220}, platform::PixelRect{-400, -30, -100, 170}}) {
    s.Cover(bounds);
    EXPECT_EQ(s.Bounds(), bounds);
  }
}

TYPED_TEST_P(OverlaySurfaceContract, TheOverlaysCreationLeavesItHiddenClickThroughRaised) {
  platform::OverlaySurface& s = this->surface();
  const platform::PixelRect display{0, 0, 300, 200};
  overlay::DimOverlay(s).Create(display);
  EXPECT_FALSE(s.IsShowing());
  EXPECT_TRUE(s.IsClickThrough());
  EXPECT_TRUE(s.IsRaised());
  // The keep-on-top tick compares these two: equal after creation, so it moves nothing.
  EXPECT_EQ(s.Bounds(), display);
}

REGISTER_TYPED_TEST_SUITE_P(OverlaySurfaceContract,
                            AFreshSurfaceIsHiddenNotRaisedAndNotClickThrough,
                            MakingItClickThroughChangesNothingElse, ShowAndHideSetVisibility,
                            RaisingAHiddenSurfaceNeverShowsIt, MakingItClickThroughKeepsItRaised,
                            TheBoundsReadBackWhereverItWasPut,
                            TheOverlaysCreationLeavesItHiddenClickThroughRaised);

}  // namespace lumenor::contract
