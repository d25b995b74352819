#pragma once
// What the core relies on the display's gamma ramp doing, as one typed suite. It runs against the
// fake natively and against the desktop's device context under Wine, on a display that has a
// real ramp (Xorg with the dummy driver; Xvfb has none).
//
// An instantiation names a factory type with
//   static std::unique_ptr<lumenor::platform::GammaDevice> Make();
// The suite reads the display's ramp first and writes it back after every test, whatever the
// test did.
//
// Wine hands back only the high byte of each entry (the low byte repeats it), so ramps written
// are compared with ramps read back by their high bytes.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "display/gamma_ramp.h"
#include "platform/gamma_device.h"
#include "support/fake_gamma_device.h"

namespace lumenor::testing {

inline display::GammaRamp StraightGammaRamp() {
  display::GammaRamp ramp{};
  for (int i = 0; i < display::kRampLevels; ++i) {
    for (int c = 0; c < display::kRampChannels; ++c)
      ramp[display::RampIndex(i, c)] = static_cast<std::uint16_t>(i * 257);
  }
  return ramp;
}

// Half brightness built from the straight ramp, the way the brightness slider at -50 builds it.
inline display::GammaRamp HalfBrightnessRamp() {
  FakeGammaDevice scratch;
  display::GammaAdjuster adjuster(scratch);
  adjuster.SavedRamp() = StraightGammaRamp();
  adjuster.ApplyBrightness(-50);
  return adjuster.WorkingRamp();
}

inline ::testing::AssertionResult HighBytesEqual(const display::GammaRamp& expected,
                                                 const display::GammaRamp& actual) {
  for (std::size_t k = 0; k < expected.size(); ++k) {
    if ((expected[k] >> 8) != (actual[k] >> 8)) {
      return ::testing::AssertionFailure()
             << "entry " << k << " (level " << k % 256 << ", channel " << k / 256
             << "): expected 0x" << std::hex << expected[k] << ", read 0x" << actual[k];
    }
  }
  return ::testing::AssertionSuccess();
}

template <typename Factory>
class GammaDevice_Contract : public ::testing::Test {
 protected:
  void SetUp() override {
    display_ = Factory::Make();
    ASSERT_NE(display_, nullptr) << "the display cannot be opened";
    ASSERT_TRUE(display_->ReadRamp(original_)) << "this display has no gamma ramp to read";
    have_original_ = true;
  }

  void TearDown() override {
    if (have_original_) display_->WriteRamp(original_);
  }

  std::unique_ptr<platform::GammaDevice> display_;
  display::GammaRamp original_{};
  bool have_original_ = false;
};

TYPED_TEST_SUITE_P(GammaDevice_Contract);

TYPED_TEST_P(GammaDevice_Contract, ReadingTwiceGivesTheSameRamp) {
  display::GammaRamp again{};
  ASSERT_TRUE(this->display_->ReadRamp(again));
  EXPECT_EQ(again, this->original_);
}

TYPED_TEST_P(GammaDevice_Contract, HalfBrightnessRampIsTakenAndReadsBack) {
  const display::GammaRamp half = HalfBrightnessRamp();
  ASSERT_EQ(half[display::RampIndex(255, 0)], 0x7FFF);

  ASSERT_TRUE(this->display_->WriteRamp(half));

  display::GammaRamp shown{};
  ASSERT_TRUE(this->display_->ReadRamp(shown));
  EXPECT_TRUE(HighBytesEqual(half, shown));
}

TYPED_TEST_P(GammaDevice_Contract, OriginalRampWrittenBackIsShownAgain) {
  ASSERT_TRUE(this->display_->WriteRamp(HalfBrightnessRamp()));

  ASSERT_TRUE(this->display_->WriteRamp(this->original_));

  display::GammaRamp shown{};
  ASSERT_TRUE(this->display_->ReadRamp(shown));
  EXPECT_TRUE(HighBytesEqual(this->original_, shown));
}

TYPED_TEST_P(GammaDevice_Contract, RefusedRampReturnsFalseAndLeavesTheDisplayUnchanged) {
  ASSERT_TRUE(this->display_->WriteRamp(HalfBrightnessRamp()));
  display::GammaRamp before{};
  ASSERT_TRUE(this->display_->ReadRamp(before));

  const display::GammaRamp all_zero{};
  EXPECT_FALSE(this->display_->WriteRamp(all_zero));
  display::GammaRamp inverted{};
  for (std::size_t k = 0; k < inverted.size(); ++k)
    inverted[k] = static_cast<std::uint16_t>(0xFFFF - (k % 256) * 257);
  EXPECT_FALSE(this->display_->WriteRamp(inverted));

  display::GammaRamp after{};
  ASSERT_TRUE(this->display_->ReadRamp(after));
  EXPECT_EQ(after, before);
}

REGISTER_TYPED_TEST_SUITE_P(GammaDevice_Contract, ReadingTwiceGivesTheSameRamp,
                            HalfBrightnessRampIsTakenAndReadsBack,
                            OriginalRampWrittenBackIsShownAgain,
                            RefusedRampReturnsFalseAndLeavesTheDisplayUnchanged);

}  // namespace lumenor::testing
