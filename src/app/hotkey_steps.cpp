#include "app/hotkey_steps.h"

#include "app/control_ranges.h"

namespace lumenor::app {

namespace {
constexpr int kStep = 5;
constexpr int kDarkEnd = kDarknessRange.minimum;
constexpr int kBrightEnd = kDarknessRange.maximum;
}  // namespace

// Both steps read the bar's limits afresh each time and check the end after the step, so the last
// step before an end snaps to it in the same event, running the update for both values.

void StepDarker(DarknessStepTarget& target) {
  target.TickEnhance();
  if (target.DarknessValue() - kStep > target.DarknessMinimum()) {
    target.SetDarknessValue(target.DarknessValue() - kStep);
    target.RunDarknessUpdate();
  }
  if (target.DarknessValue() - kStep <= target.DarknessMinimum()) {
    target.SetDarknessValue(kDarkEnd);
    target.RunDarknessUpdate();
  }
}

void StepBrighter(DarknessStepTarget& target) {
  target.TickEnhance();
  if (target.DarknessValue() + kStep < target.DarknessMaximum()) {
    target.SetDarknessValue(target.DarknessValue() + kStep);
    target.RunDarknessUpdate();
  }
  if (target.DarknessValue() + kStep >= target.DarknessMaximum()) {
    target.SetDarknessValue(kBrightEnd);
    target.RunDarknessUpdate();
  }
}

}  // namespace lumenor::app
