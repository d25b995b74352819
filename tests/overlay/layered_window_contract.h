#pragma once
// What the overlay relies on a layered window doing, run against the fake natively and against a
// real window under Wine. Env provides `platform::LayeredWindow& window()` over a freshly created,
// hidden window.
#include <gtest/gtest.h>

#include "overlay/dim_overlay.h"
#include "platform/layered_window.h"

namespace lumenor::contract {

template <typename Env>
class LayeredWindowContract : public ::testing::Test {
 protected:
  platform::LayeredWindow& window() { return env_.window(); }

 private:
  Env env_;
};

TYPED_TEST_SUITE_P(LayeredWindowContract);

TYPED_TEST_P(LayeredWindowContract, AFreshWindowIsHiddenAndNotTopmost) {
  platform::LayeredWindow& w = this->window();
  EXPECT_FALSE(w.IsVisible());
  EXPECT_EQ(w.ExtendedStyle() & platform::kExStyleTopmost, 0u);
}

TYPED_TEST_P(LayeredWindowContract, TheExtendedStyleReadsBackWhatWasWritten) {
  platform::LayeredWindow& w = this->window();
  const std::uint32_t before = w.ExtendedStyle();
  w.SetExtendedStyle(before | overlay::kOverlayExStyleBits);
  EXPECT_EQ(w.ExtendedStyle(), before | overlay::kOverlayExStyleBits);
}

TYPED_TEST_P(LayeredWindowContract, ShowAndHideSetVisibility) {
  platform::LayeredWindow& w = this->window();
  w.Show();
  EXPECT_TRUE(w.IsVisible());
  w.Hide();
  EXPECT_FALSE(w.IsVisible());
}

TYPED_TEST_P(LayeredWindowContract, BringingAHiddenWindowToTopmostNeverShowsIt) {
  platform::LayeredWindow& w = this->window();
  w.BringToTopmost();
  EXPECT_FALSE(w.IsVisible());
  EXPECT_NE(w.ExtendedStyle() & platform::kExStyleTopmost, 0u);
}

TYPED_TEST_P(LayeredWindowContract, WritingTheExtendedStyleNeverClearsTopmost) {
  platform::LayeredWindow& w = this->window();
  w.BringToTopmost();
  w.SetExtendedStyle(w.ExtendedStyle() & ~platform::kExStyleTopmost);
  EXPECT_NE(w.ExtendedStyle() & platform::kExStyleTopmost, 0u);
}

TYPED_TEST_P(LayeredWindowContract, TheBoundsReadBackWhereverTheWindowWasPut) {
  platform::LayeredWindow& w = this->window();
  for (const platform::PixelRect bounds :
       {platform::PixelRect{10, 20, 310, 220}, platform::PixelRect{-400, -30, -100, 170}}) {
    w.MoveAndSize(bounds);
    EXPECT_EQ(w.WindowBounds(), bounds);
  }
}

TYPED_TEST_P(LayeredWindowContract, TheOverlaysCreationLeavesItHiddenLayeredTransparentTopmost) {
  platform::LayeredWindow& w = this->window();
  const platform::PixelRect display{0, 0, 300, 200};
  overlay::DimOverlay(w).Create(display);
  EXPECT_FALSE(w.IsVisible());
  const std::uint32_t style = w.ExtendedStyle();
  EXPECT_EQ(style & overlay::kOverlayExStyleBits, overlay::kOverlayExStyleBits);
  EXPECT_NE(style & platform::kExStyleTopmost, 0u);
  // The keep-on-top tick compares these two: equal after creation, so it moves nothing.
  EXPECT_EQ(w.WindowBounds(), display);
}

REGISTER_TYPED_TEST_SUITE_P(LayeredWindowContract, AFreshWindowIsHiddenAndNotTopmost,
                            TheExtendedStyleReadsBackWhatWasWritten, ShowAndHideSetVisibility,
                            BringingAHiddenWindowToTopmostNeverShowsIt,
                            WritingTheExtendedStyleNeverClearsTopmost, TheBoundsReadBackWhereverTheWindowWasPut,
                            TheOverlaysCreationLeavesItHiddenLayeredTransparentTopmost);

}  // namespace lumenor::contract
