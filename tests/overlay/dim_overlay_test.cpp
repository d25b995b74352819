#include "overlay/dim_overlay.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "overlay/overlay_set.h"
#include "support/fake_overlay_surface.h"

namespace lumenor::overlay {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::FakeOverlaySurface;
using testing::FakeOverlaySurfaces;
using ::testing::Not;

struct LookCase {
  std::int16_t value;
  std::optional<platform::ColorRef> background;
  std::uint8_t alpha;
};

// The darkness value's table: black below 0, white above, colour kept at 0, opacity |v|.
const LookCase kLookTable[] = {
    {-255, kBlack, 255}, {-254, kBlack, 254},  {-126, kBlack, 126}, {-121, kBlack, 121},
    {-1, kBlack, 1},     {0, std::nullopt, 0}, {1, kWhite, 1},      {128, kWhite, 128},
    {254, kWhite, 254},  {255, kWhite, 255},
};

TEST(Overlay_LookForDarkness, FollowsTheValueTable) {
  for (const LookCase& c : kLookTable) {
    SCOPED_TRACE(c.value);
    const DarknessLook look = LookForDarkness(c.value);
    EXPECT_EQ(look.background, c.background);
    EXPECT_EQ(look.alpha, c.alpha);
  }
}

TEST(Overlay_LookForDarkness, ValuesBeyondTheBarSaturateInsteadOfWrapping) {
  EXPECT_EQ(LookForDarkness(-256), (DarknessLook{kBlack, 255}));
  EXPECT_EQ(LookForDarkness(300), (DarknessLook{kWhite, 255}));
  EXPECT_EQ(LookForDarkness(-32768), (DarknessLook{kBlack, 255}));
}

TEST(Overlay_Colours, AreTheWindowSystemsColourValues) {
  EXPECT_EQ(kDesignBackground, 0xC0C0C0u);
  EXPECT_EQ(kWhite, 0xFFFFFFu);
}

constexpr platform::PixelRect kPrimary{0, 0, 1280, 800};

class DimOverlayTest : public ::testing::Test {
 protected:
  FakeOverlaySurface window;
  DimOverlay overlay{window};

  void CreateAndForgetCalls() {
    overlay.Create(kPrimary);
    window.calls.clear();
  }
};

TEST_F(DimOverlayTest, CreationRunsItsStepsInOrder) {
  overlay.Create(kPrimary);
  EXPECT_THAT(window.calls,
              ElementsAre("MakeClickThrough", "SetOpacity 200", "Raise", "Cover 0 0 1280 800"));
}

TEST_F(DimOverlayTest, CreationLeavesTheWindowHiddenLightGreyAtAlpha200OverTheWholeDisplay) {
  overlay.Create({-1920, -40, 0, 1040});  // left of the primary, a little higher
  EXPECT_FALSE(overlay.IsShowing());
  EXPECT_THAT(window.calls, Not(Contains("Show")));
  EXPECT_EQ(window.colour, kDesignBackground);
  EXPECT_EQ(window.alpha, 200);
  EXPECT_TRUE(window.clickThrough);
  EXPECT_TRUE(window.raised);
  EXPECT_EQ(window.bounds, (platform::PixelRect{-1920, -40, 0, 1040}));
}

TEST_F(DimOverlayTest, KeepOnTopTickOnAHiddenOverlayPutsItOnTopWithoutShowingIt) {
  CreateAndForgetCalls();
  window.raised = false;  // another window took the top
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("Raise", "Bounds"));
  EXPECT_TRUE(window.raised);
  EXPECT_FALSE(window.visible);
}

TEST_F(DimOverlayTest, KeepOnTopTickOnAShowingOverlayChangesNeitherColourNorOpacity) {
  CreateAndForgetCalls();
  overlay.Show();
  overlay.ApplyDarkness(-126);
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("Raise", "Bounds"));
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.colour, kBlack);
  EXPECT_EQ(window.alpha, 126);
}

TEST_F(DimOverlayTest, ApplyingADarknessPaintsFirstThenSetsTheAlphaWithTheInertColourKey) {
  CreateAndForgetCalls();
  overlay.ApplyDarkness(-126);
  EXPECT_THAT(window.calls, ElementsAre("SetColour 0x0", "SetOpacity 126"));
  window.calls.clear();
  overlay.ApplyDarkness(37);
  EXPECT_THAT(window.calls, ElementsAre("SetColour 0xffffff", "SetOpacity 37"));
}

TEST_F(DimOverlayTest, StepsFromMinusFiveThroughZeroToFiveGiveBlack5Black0White5) {
  CreateAndForgetCalls();
  overlay.Show();
  overlay.ApplyDarkness(-5);
  EXPECT_EQ(window.colour, kBlack);
  EXPECT_EQ(window.alpha, 5);
  overlay.ApplyDarkness(0);
  EXPECT_EQ(window.colour, kBlack);
  EXPECT_EQ(window.alpha, 0);
  EXPECT_TRUE(window.visible);  // fully transparent, still showing
  overlay.ApplyDarkness(5);
  EXPECT_EQ(window.colour, kWhite);
  EXPECT_EQ(window.alpha, 5);
}

TEST_F(DimOverlayTest, ZeroRightAfterCreationKeepsTheDesignsLightGrey) {
  CreateAndForgetCalls();
  overlay.ApplyDarkness(0);
  EXPECT_THAT(window.calls, ElementsAre("SetOpacity 0"));
  EXPECT_EQ(window.colour, kDesignBackground);
}

TEST_F(DimOverlayTest, ShowingAndHidingChangeNothingElse) {
  CreateAndForgetCalls();
  overlay.ApplyDarkness(-126);
  window.calls.clear();
  overlay.Show();
  EXPECT_TRUE(overlay.IsShowing());
  overlay.Hide();
  EXPECT_FALSE(overlay.IsShowing());
  overlay.Show();
  EXPECT_THAT(window.calls, ElementsAre("Show", "IsShowing", "Hide", "IsShowing", "Show"));
  EXPECT_EQ(window.colour, kBlack);
  EXPECT_EQ(window.alpha, 126);
}

TEST_F(DimOverlayTest, TheFirstShowAfterCreationIsLightGreyAt200) {
  CreateAndForgetCalls();
  overlay.Show();
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.colour, kDesignBackground);
  EXPECT_EQ(window.alpha, 200);
}

TEST_F(DimOverlayTest, KeepOnTopTickCoversItsDisplayAgainWhenTheWindowWasMovedOffIt) {
  CreateAndForgetCalls();
  overlay.Show();
  window.bounds.left = 40;  // the window system moved it (a desktop whose origin moved)
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("Raise", "Bounds", "Cover 0 0 1280 800"));
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, Not(Contains(::testing::StartsWith("Cover"))))
      << "a window that covers its display is not moved again";
  EXPECT_TRUE(window.visible);
  EXPECT_TRUE(window.raised);
}

TEST_F(DimOverlayTest, CoverFollowsItsDisplayToItsNewPlaceAndSize) {
  CreateAndForgetCalls();
  overlay.Cover({1280, 0, 2304, 768});
  EXPECT_THAT(window.calls, ElementsAre("Cover 1280 0 1024 768"));
  EXPECT_FALSE(window.visible);
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("Raise", "Bounds"));
}

// The overlays of a desk: one window per display, all alike, following the displays.
TEST(OverlaySet, OneWindowPerDisplayAllAlikeFollowingComingGoingAndLeftOutDisplays) {
  FakeOverlaySurfaces windows;
  OverlayLook planned;  // as the road plans the overlays along the calls below
  OverlaySet overlays(windows, [&] { return planned; });
  overlays.Follow({{"a", kPrimary, true, {}}, {"b", {1280, 0, 2304, 768}, true, {}}});
  EXPECT_TRUE(windows.made.empty()) << "the windows are made on first use";
  EXPECT_FALSE(overlays.IsShowing());
  ASSERT_EQ(windows.Live().size(), 2u);
  planned = {true, {kBlack, 126}};
  overlays.Show();
  overlays.ApplyDarkness(-126);
  for (FakeOverlaySurface* w : windows.Live()) {
    EXPECT_TRUE(w->visible);
    EXPECT_EQ(w->colour, kBlack);
    EXPECT_EQ(w->alpha, 126);
  }
  EXPECT_EQ(windows.Live()[1]->bounds.left, 1280);

  // Left out: hidden while the others show; a new display left of the primary looks like the rest.
  planned.look.alpha = 0;
  overlays.ApplyDarkness(0);
  overlays.Follow({{"a", kPrimary, true, {}},
                   {"b", {1280, 0, 2304, 768}, false, {}},
                   {"c", {-1024, 0, 0, 768}, true, {}}});
  std::vector<FakeOverlaySurface*> live = windows.Live();
  ASSERT_EQ(live.size(), 3u);
  EXPECT_FALSE(live[1]->visible);
  EXPECT_TRUE(live[2]->visible);
  EXPECT_EQ(live[2]->bounds.left, -1024);
  EXPECT_EQ(live[2]->colour, kBlack);
  EXPECT_EQ(live[2]->alpha, 0);

  // Gone: its window goes with it; the one taken back in shows again.
  overlays.Follow({{"a", kPrimary, true, {}}, {"b", {1280, 0, 2304, 768}, true, {}}});
  live = windows.Live();
  ASSERT_EQ(live.size(), 2u);
  EXPECT_TRUE(live[1]->visible);
  planned.showing = false;
  overlays.Hide();
  overlays.KeepOnTop();
  for (FakeOverlaySurface* w : windows.Live()) {
    EXPECT_FALSE(w->visible);
    EXPECT_TRUE(w->raised);
  }
}

TEST(OverlaySet, EveryWindowIsOutOfCaptureAsChosenThoseMadeLaterToo) {
  for (const bool out : {true, false}) {
    SCOPED_TRACE(out);
    FakeOverlaySurfaces windows;
    const OverlayLook planned{true};
    OverlaySet overlays(windows, [&] { return planned; });
    overlays.Follow({{"a", kPrimary, true, {}}});
    overlays.KeepOutOfCapture(true);  // before the windows are made
    overlays.Show();
    overlays.KeepOutOfCapture(out);
    overlays.Follow({{"a", kPrimary, true, {}}, {"b", {1280, 0, 2304, 768}, true, {}}});
    ASSERT_EQ(windows.Live().size(), 2u);
    for (FakeOverlaySurface* w : windows.Live()) EXPECT_EQ(w->outOfCapture, out);
  }
}

}  // namespace
}  // namespace lumenor::overlay
