#include "app/hotkey_steps.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace lumenor::app {
namespace {

using ::testing::ElementsAre;

// The darkness bar and check box as plain fields; every update records the value it saw.
class FakeStepTarget : public DarknessStepTarget {
 public:
  int DarknessValue() const override { return value; }
  int DarknessMinimum() const override {
    ++limitReads;
    return minimum;
  }
  int DarknessMaximum() const override {
    ++limitReads;
    return maximum;
  }
  void SetDarknessValue(int v) override { value = v; }
  void TickEnhance() override {
    if (!ticked) {
      ticked = true;
      ++clickReactions;
    }
  }
  void RunDarknessUpdate() override { updates.push_back(value); }

  int value = -121;
  int minimum = -255;
  int maximum = 255;
  bool ticked = true;
  int clickReactions = 0;
  mutable int limitReads = 0;
  std::vector<int> updates;
};

TEST(HotkeySteps_StepDarker, FromTheStartValue26EventsReachMinus251AndSnapToMinus255) {
  FakeStepTarget bar;
  for (int event = 1; event <= 25; ++event) {
    StepDarker(bar);
    EXPECT_EQ(bar.value, -121 - 5 * event);
  }
  EXPECT_EQ(bar.value, -246);
  ASSERT_EQ(bar.updates.size(), 25u);
  EXPECT_EQ(bar.updates.front(), -126);

  bar.updates.clear();
  StepDarker(bar);
  EXPECT_EQ(bar.value, -255);
  EXPECT_THAT(bar.updates, ElementsAre(-251, -255));
}

TEST(HotkeySteps_StepBrighter, FromZero50EventsEndAt255WithTheLastSnapping) {
  FakeStepTarget bar;
  bar.value = 0;
  for (int event = 1; event <= 49; ++event) StepBrighter(bar);
  EXPECT_EQ(bar.value, 245);
  EXPECT_EQ(bar.updates.size(), 49u);
  bar.updates.clear();
  StepBrighter(bar);
  EXPECT_EQ(bar.value, 255);
  EXPECT_THAT(bar.updates, ElementsAre(250, 255));
}

TEST(HotkeySteps_Snap, OneStepShortOfAnEndSetsTheEndAndUpdatesOnce) {
  FakeStepTarget dark;
  dark.value = -250;
  StepDarker(dark);
  EXPECT_EQ(dark.value, -255);
  EXPECT_THAT(dark.updates, ElementsAre(-255));

  FakeStepTarget bright;
  bright.value = 250;
  StepBrighter(bright);
  EXPECT_EQ(bright.value, 255);
  EXPECT_THAT(bright.updates, ElementsAre(255));
}

TEST(HotkeySteps_Snap, FurtherEventsAtAnEndKeepTheBarThereAndUpdateAgain) {
  FakeStepTarget bar;
  bar.value = -255;
  StepDarker(bar);
  StepDarker(bar);
  EXPECT_EQ(bar.value, -255);
  EXPECT_THAT(bar.updates, ElementsAre(-255, -255));

  bar.value = 255;
  bar.updates.clear();
  StepBrighter(bar);
  EXPECT_EQ(bar.value, 255);
  EXPECT_THAT(bar.updates, ElementsAre(255));
}

TEST(HotkeySteps_Tick, AnUntickedBoxIsTickedByTheNextEventAndATickedOneIsLeftAlone) {
  FakeStepTarget bar;
  bar.ticked = false;
  StepDarker(bar);
  EXPECT_TRUE(bar.ticked);
  EXPECT_EQ(bar.clickReactions, 1);
  EXPECT_EQ(bar.value, -126);
  StepBrighter(bar);
  EXPECT_EQ(bar.clickReactions, 1);

  bar.ticked = false;  // the user unticks it by hand
  StepBrighter(bar);
  EXPECT_TRUE(bar.ticked);
  EXPECT_EQ(bar.clickReactions, 2);
}

// The bar's limits are read at each step, not assumed; the ends set are still -255 and 255.
TEST(HotkeySteps_Limits, AreReadFromTheBarAtEachStep) {
  FakeStepTarget bar;
  bar.value = -90;
  bar.minimum = -100;
  StepDarker(bar);  // -95 would leave only 5 to the minimum: snap to the end constant
  EXPECT_THAT(bar.updates, ElementsAre(-95, -255));
  EXPECT_GE(bar.limitReads, 2);

  FakeStepTarget narrow;
  narrow.value = 90;
  narrow.maximum = 100;
  StepBrighter(narrow);
  EXPECT_THAT(narrow.updates, ElementsAre(95, 255));
}

TEST(HotkeySteps_Sequence, DarkerThenBrighterRetracesTheSameValues) {
  FakeStepTarget bar;
  for (int i = 0; i < 3; ++i) StepDarker(bar);
  for (int i = 0; i < 3; ++i) StepBrighter(bar);
  EXPECT_THAT(bar.updates, ElementsAre(-126, -131, -136, -131, -126, -121));
}

}  // namespace
}  // namespace lumenor::app
