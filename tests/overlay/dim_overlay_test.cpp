#include "overlay/dim_overlay.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_layered_window.h"

namespace lumenor::overlay {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::FakeLayeredWindow;
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

class DimOverlayTest : public ::testing::Test {
 protected:
  FakeLayeredWindow window;
  DimOverlay overlay{window};

  void CreateAndForgetCalls() {
    overlay.Create();
    window.calls.clear();
  }
};

TEST_F(DimOverlayTest, CreationRunsItsStepsInOrderAndAddsOnlyTheLayeredAndTransparentBits) {
  window.exStyle = 0x08000080;  // tool window, no-activate
  overlay.Create();
  EXPECT_THAT(window.calls,
              ElementsAre("ExtendedStyle", "SetExtendedStyle 0x80800a0",
                          "SetLayeredAttributes 0x0 200 2", "BringToTopmost", "PrimaryScreenSize",
                          "MoveAndSize 0 0 1280 800", "StartTimer 5000"));
}

TEST_F(DimOverlayTest, CreationOrsTheBitsIntoWhateverStyleTheWindowHas) {
  for (std::uint32_t before : {0x0u, 0x100u, 0x80000u, 0x20u, 0x08000080u}) {
    FakeLayeredWindow fresh;
    fresh.exStyle = before;
    DimOverlay(fresh).Create();
    ASSERT_GE(fresh.calls.size(), 2u);
    char expected[40];
    std::snprintf(expected, sizeof expected, "SetExtendedStyle 0x%x", before | 0x80020u);
    EXPECT_EQ(fresh.calls[1], expected);
  }
}

TEST_F(DimOverlayTest, CreationLeavesTheWindowHiddenLightGreyAtAlpha200OverTheWholeScreen) {
  window.screen = {1920, 1080};
  overlay.Create();
  EXPECT_FALSE(overlay.IsShowing());
  EXPECT_THAT(window.calls, Not(Contains("Show")));
  EXPECT_EQ(window.background, kDesignBackground);
  EXPECT_EQ(window.alpha, 200);
  EXPECT_EQ(window.layeredFlags, platform::kLayeredAlpha);
  EXPECT_TRUE(window.topmost);
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.top, 0);
  EXPECT_EQ(window.width, 1920);
  EXPECT_EQ(window.height, 1080);
  EXPECT_EQ(window.timerInterval, 5000u);
}

TEST_F(DimOverlayTest, KeepOnTopTickOnAHiddenOverlayPutsItOnTopWithoutShowingIt) {
  CreateAndForgetCalls();
  window.topmost = false;  // another window took the top
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("BringToTopmost", "PrimaryScreenSize", "WindowSize"));
  EXPECT_TRUE(window.topmost);
  EXPECT_FALSE(window.visible);
}

TEST_F(DimOverlayTest, KeepOnTopTickOnAShowingOverlayChangesNeitherColourNorOpacity) {
  CreateAndForgetCalls();
  overlay.Show();
  overlay.ApplyDarkness(-126);
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("BringToTopmost", "PrimaryScreenSize", "WindowSize"));
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

TEST_F(DimOverlayTest, KeepOnTopTickCoversAPrimaryScreenWhoseSizeChangedUnannounced) {
  CreateAndForgetCalls();
  overlay.Show();
  window.calls.clear();
  window.screen = {1024, 768};  // a change of mode that no message told of
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, ElementsAre("BringToTopmost", "PrimaryScreenSize", "WindowSize",
                                        "MoveAndSize 0 0 1024 768"));
  window.calls.clear();
  overlay.OnKeepOnTopTick();
  EXPECT_THAT(window.calls, Not(Contains(::testing::StartsWith("MoveAndSize"))))
      << "a window that covers the screen is not moved again";
  EXPECT_TRUE(window.visible);
  EXPECT_TRUE(window.topmost);
}

TEST_F(DimOverlayTest, DisplayChangeCoversTheNewPrimaryScreen) {
  CreateAndForgetCalls();
  window.screen = {1024, 768};
  overlay.OnDisplayChange();
  EXPECT_THAT(window.calls, ElementsAre("PrimaryScreenSize", "MoveAndSize 0 0 1024 768"));
  EXPECT_EQ(window.width, 1024);
  EXPECT_EQ(window.height, 768);
  EXPECT_FALSE(window.visible);
}

}  // namespace
}  // namespace lumenor::overlay
