#include "dimming/darkness_bar.h"

namespace lumenor::dimming {

namespace {
constexpr int kDarkEnd = kDarknessRange.minimum;
constexpr int kBrightEnd = kDarknessRange.maximum;
}  // namespace

// Both steps read the bar's limits afresh each time and check the end after the step, so the last
// step before an end snaps to it in the same event, running the update for both values.

void StepDarker(DarknessStepTarget& target) {
  target.TickEnhance();
  if (target.DarknessValue() - kBarStep > target.DarknessMinimum()) {
    target.SetDarknessValue(target.DarknessValue() - kBarStep);
    target.RunDarknessUpdate();
  }
  if (target.DarknessValue() - kBarStep <= target.DarknessMinimum()) {
    target.SetDarknessValue(kDarkEnd);
    target.RunDarknessUpdate();
  }
}

void StepBrighter(DarknessStepTarget& target) {
  target.TickEnhance();
  if (target.DarknessValue() + kBarStep < target.DarknessMaximum()) {
    target.SetDarknessValue(target.DarknessValue() + kBarStep);
    target.RunDarknessUpdate();
  }
  if (target.DarknessValue() + kBarStep >= target.DarknessMaximum()) {
    target.SetDarknessValue(kBrightEnd);
    target.RunDarknessUpdate();
  }
}

}  // namespace lumenor::dimming
