#include "overlay/dim_overlay.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "overlay/overlay_set.h"
#include "support/fake_layered_window.h"

namespace lumenor::overlay {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::FakeLayeredWindow;
using testing::FakeLayeredWindows;
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
  EXPECT_EQ(kDarknessColorKey, 0x100u);
  EXPECT_EQ(kDesignBackground, 0xC0C0C0u);
  EXPECT_EQ(kWhite, 0xFFFFFFu);
  EXPECT_EQ(kOverlayExStyleBits, 0x80020u);
}

constexpr platform::PixelRect kPrimary{0, 0, 1280, 800};

class DimOverlayTest : public ::testing::Test {
 protected:
  FakeLayeredWindow window;
  DimOverlay overlay{window};

  void CreateAndForgetCalls() {
    overlay.Create(kPrimary);
    window.calls.clear();
  }
};

TEST_F(DimOverlayTest, CreationRunsItsStepsInOrderAndAddsOnlyTheLayeredAndTransparentBits) {
  window.exStyle = 0x08000080;  // tool window, no-activate
  overlay.Create(kPrimary);
  EXPECT_THAT(window.calls,
              ElementsAre("ExtendedStyle", "SetExtendedStyle 0x80800a0",
                          "SetLayeredAttributes 0x0 200 2", "BringToTopmost",
                          "MoveAndSize 0 0 1280 800"));
}

TEST_F(DimOverlayTest, CreationOrsTheBitsIntoWhateverStyleTheWindowHas) {
  for (std::uint32_t before : {0x0u, 0x100u, 0x80000u, 0x20u, 0x08000080u}) {
    FakeLayeredWindow fresh;
    fresh.exStyle = before;
    DimOverlay(fresh).Create(kPrimary);
    ASSERT_GE(fresh.calls.size(), 2u);
    char expected[40];
    std::snprintf(expected, sizeof expected, "SetExtendedStyle 0x%x", before | 0x80020u);
    EXPECT_EQ(fresh.calls[1], expected);
  }
}

TEST_F(DimOverlayTest, CreationLeavesTheWindowHiddenLightGreyAtAlpha200OverTheWholeDisplay) {
  overlay.Create({-1920, -40, 0, 1040});  // left of the primary, a little higher
  EXPECT_FALSE(overlay.IsShowing());
  EXPECT_THAT(window.calls, Not(Contains("Show")));
  EXPECT_EQ(window.background, kDesignBackground);
  EXPECT_EQ(window.alpha, 200);
  EXPECT_EQ(window.layeredFlags, platform::kLayeredAlpha);
  EXPECT_TRUE(window.topmost);
  EXPECT_EQ(window.left, -1920);
  EXPECT_EQ(window.top, -40);
  EXPECT_EQ(window.width, 1920);
  EXPECT_EQ(window.height, 1080);
}

TEST_F(DimOverlayTest, KeepOnTopTickOnAHiddenOverlayPutsItOnTopWithoutShowingIt) {
  CreateAndForgetCalls();
  window.topmost = false;  // another window took the top
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("BringToTopmost", "WindowBounds"));
  EXPECT_TRUE(window.topmost);
  EXPECT_FALSE(window.visible);
}

TEST_F(DimOverlayTest, KeepOnTopTickOnAShowingOverlayChangesNeitherColourNorOpacity) {
  CreateAndForgetCalls();
  overlay.Show();
  overlay.ApplyDarkness(-126);
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("BringToTopmost", "WindowBounds"));
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.background, kBlack);
  EXPECT_EQ(window.alpha, 126);
}

TEST_F(DimOverlayTest, ApplyingADarknessPaintsFirstThenSetsTheAlphaWithTheInertColourKey) {
  CreateAndForgetCalls();
  overlay.ApplyDarkness(-126);
  EXPECT_THAT(window.calls, ElementsAre("SetBackground 0x0", "SetLayeredAttributes 0x100 126 2"));
  window.calls.clear();
  overlay.ApplyDarkness(37);
  EXPECT_THAT(window.calls,
              ElementsAre("SetBackground 0xffffff", "SetLayeredAttributes 0x100 37 2"));
}

TEST_F(DimOverlayTest, StepsFromMinusFiveThroughZeroToFiveGiveBlack5Black0White5) {
  CreateAndForgetCalls();
  overlay.Show();
  overlay.ApplyDarkness(-5);
  EXPECT_EQ(window.background, kBlack);
  EXPECT_EQ(window.alpha, 5);
  overlay.ApplyDarkness(0);
  EXPECT_EQ(window.background, kBlack);
  EXPECT_EQ(window.alpha, 0);
  EXPECT_TRUE(window.visible);  // fully transparent, still showing
  overlay.ApplyDarkness(5);
  EXPECT_EQ(window.background, kWhite);
  EXPECT_EQ(window.alpha, 5);
  EXPECT_EQ(window.layeredFlags, platform::kLayeredAlpha);
}

TEST_F(DimOverlayTest, ZeroRightAfterCreationKeepsTheDesignsLightGrey) {
  CreateAndForgetCalls();
  overlay.ApplyDarkness(0);
  EXPECT_THAT(window.calls, ElementsAre("SetLayeredAttributes 0x100 0 2"));
  EXPECT_EQ(window.background, kDesignBackground);
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
  EXPECT_THAT(window.calls, ElementsAre("Show", "IsVisible", "Hide", "IsVisible", "Show"));
  EXPECT_EQ(window.background, kBlack);
  EXPECT_EQ(window.alpha, 126);
}

TEST_F(DimOverlayTest, TheFirstShowAfterCreationIsLightGreyAt200) {
  CreateAndForgetCalls();
  overlay.Show();
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.background, kDesignBackground);
  EXPECT_EQ(window.alpha, 200);
}

TEST_F(DimOverlayTest, KeepOnTopTickCoversItsDisplayAgainWhenTheWindowWasMovedOffIt) {
  CreateAndForgetCalls();
  overlay.Show();
  window.left = 40;  // the window system moved it (a desktop whose origin moved)
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("BringToTopmost", "WindowBounds", "MoveAndSize 0 0 1280 800"));
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, Not(Contains(::testing::StartsWith("MoveAndSize"))))
      << "a window that covers its display is not moved again";
  EXPECT_TRUE(window.visible);
  EXPECT_TRUE(window.topmost);
}

TEST_F(DimOverlayTest, CoverFollowsItsDisplayToItsNewPlaceAndSize) {
  CreateAndForgetCalls();
  overlay.Cover({1280, 0, 2304, 768});
  EXPECT_THAT(window.calls, ElementsAre("MoveAndSize 1280 0 1024 768"));
  EXPECT_FALSE(window.visible);
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("BringToTopmost", "WindowBounds"));
}

// The overlays of a desk: one window per display, all alike, following the displays.
TEST(OverlaySet, OneWindowPerDisplayAllAlikeFollowingComingGoingAndLeftOutDisplays) {
  FakeLayeredWindows windows;
  OverlaySet overlays(windows);
  overlays.Follow({{"a", kPrimary, true}, {"b", {1280, 0, 2304, 768}, true}});
  EXPECT_TRUE(windows.made.empty()) << "the windows are made on first use";
  EXPECT_FALSE(overlays.IsShowing());
  ASSERT_EQ(windows.Live().size(), 2u);
  overlays.Show();
  overlays.ApplyDarkness(-126);
  for (FakeLayeredWindow* w : windows.Live()) {
    EXPECT_TRUE(w->visible);
    EXPECT_EQ(w->background, kBlack);
    EXPECT_EQ(w->alpha, 126);
  }
  EXPECT_EQ(windows.Live()[1]->left, 1280);

  // Left out: hidden while the others show; a new display left of the primary looks like the rest.
  overlays.ApplyDarkness(0);
  overlays.Follow({{"a", kPrimary, true},
                   {"b", {1280, 0, 2304, 768}, false},
                   {"c", {-1024, 0, 0, 768}, true}});
  std::vector<FakeLayeredWindow*> live = windows.Live();
  ASSERT_EQ(live.size(), 3u);
  EXPECT_FALSE(live[1]->visible);
  EXPECT_TRUE(live[2]->visible);
  EXPECT_EQ(live[2]->left, -1024);
  EXPECT_EQ(live[2]->background, kBlack);
  EXPECT_EQ(live[2]->alpha, 0);

  // Gone: its window goes with it; the one taken back in shows again.
  overlays.Follow({{"a", kPrimary, true}, {"b", {1280, 0, 2304, 768}, true}});
  live = windows.Live();
  ASSERT_EQ(live.size(), 2u);
  EXPECT_TRUE(live[1]->visible);
  overlays.Hide();
  overlays.KeepOnTop();
  for (FakeLayeredWindow* w : windows.Live()) {
    EXPECT_FALSE(w->visible);
    EXPECT_TRUE(w->topmost);
  }
}

}  // namespace
}  // namespace lumenor::overlay
