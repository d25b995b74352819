#include "display/ramp_keeper.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "display/gamma_ramp.h"
#include "support/fake_gamma_device.h"

namespace lumenor::display {
namespace {

using testing::FakeGammaDevice;

GammaRamp Brightness(std::int16_t v) {
  FakeGammaDevice scratch;
  GammaAdjuster adjuster(scratch);
  adjuster.SavedRamp() = StraightRamp();
  adjuster.ApplyBrightness(v);
  return adjuster.WorkingRamp();
}

GammaRamp Contrast(std::int16_t p) {
  FakeGammaDevice scratch;
  GammaAdjuster adjuster(scratch);
  adjuster.SavedRamp() = StraightRamp();
  adjuster.ApplyContrast(p);
  return adjuster.WorkingRamp();
}

TEST(RampKeeper_WriteRamp, TakenOnlyWhenTheDisplayShowsItWhateverItAnswersAndWhateverCameBefore) {
  struct Case {
    const char* what;
    std::function<bool(const GammaRamp&)> rule;
    GammaRamp ramp;
    bool answersYesWhenRefused;
    bool outsideChange;       // another program writes the display after Lumenor's last write
    bool failsFirstCall;      // the driver fails the first write and takes the same ramp next time
    std::vector<bool> taken;  // the same ramp written twice
  };
  const auto wine = testing::WineAccepts;
  const auto windows = testing::WindowsAccepts;
  // clang-format off
  const Case cases[] = {
      {"Wine, darker", wine, Brightness(-20), false, false, false, {true, true}},
      {"Wine, brighter, no", wine, Brightness(20), false, false, false, {false, false}},
      {"Wine, brighter, yes", wine, Brightness(20), true, false, false, {false, false}},
      {"Wine, brighter, yes, after an outside change", wine, Brightness(20), true, true, false,
       {false, false}},
      {"Wine, darker, after an outside change", wine, Brightness(-20), true, true, false,
       {true, true}},
      {"Windows, a little darker", windows, Brightness(-20), true, false, false, {true, true}},
      {"Windows, a little brighter", windows, Brightness(20), true, false, false, {true, true}},
      {"Windows, much brighter, no", windows, Brightness(45), false, false, false, {false, false}},
      {"Windows, much darker, no", windows, Brightness(-50), false, false, false, {false, false}},
      {"Windows, much darker, yes", windows, Brightness(-50), true, false, false, {false, false}},
      {"Windows, much darker, yes, after an outside change", windows, Brightness(-50), true, true,
       false, {false, false}},
      {"Windows, low contrast, yes", windows, Contrast(20), true, false, false, {false, false}},
      {"Windows, the first call fails", windows, Brightness(-20), false, false, true,
       {false, true}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeGammaDevice display;
    display.shown = StraightRamp();
    display.eightBitReadback = true;
    display.accepts = c.rule;
    display.answersYesWhenRefused = c.answersYesWhenRefused;
    RampKeeper keeper(display);
    const GammaRamp good = Brightness(-10);
    ASSERT_TRUE(keeper.WriteRamp(good));
    if (c.outsideChange) display.shown = Brightness(-5);
    display.failsNextWrite = c.failsFirstCall;
    for (std::size_t k = 0; k < c.taken.size(); ++k) {
      SCOPED_TRACE(::testing::Message() << "write " << k + 1);
      EXPECT_EQ(keeper.WriteRamp(c.ramp), c.taken[k]);
      EXPECT_EQ(keeper.LastApplied(), c.taken[k] ? c.ramp : good) << "the ramp to put back";
    }
    EXPECT_EQ(display.writes.size(), 1 + c.taken.size()) << "every write reaches the display";
  }
}

}  // namespace
}  // namespace lumenor::display
