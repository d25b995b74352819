#pragma once
// The darkness bar (HScroll_setblack) as the road owns it: its range, where it stands at the main
// window's start-up, and the hotkeys' step along it, 5 towards an end, snapping to -255 or 255 on
// the last.

namespace lumenor::dimming {

struct ValueRange {
  int minimum;
  int maximum;
  int neutral;
};

// Negative is a black overlay, positive a white one, the magnitude its opacity.
inline constexpr ValueRange kDarknessRange{-255, 255, 0};
inline constexpr int kDarknessAtStart = -121;
inline constexpr int kBarStep = 5;

// The pieces a step touches, and nothing else: no slider, no ramp.
class DarknessStepTarget {
 public:
  virtual ~DarknessStepTarget() = default;
  virtual int DarknessValue() const = 0;
  virtual int DarknessMinimum() const = 0;
  virtual int DarknessMaximum() const = 0;
  virtual void SetDarknessValue(int value) = 0;
  // Ticks the overlay check box; when it was not ticked this runs its click reaction.
  virtual void TickEnhance() = 0;
  // The darkness update (the bar's value to the overlay and its label).
  virtual void RunDarknessUpdate() = 0;
};

void StepDarker(DarknessStepTarget& target);
void StepBrighter(DarknessStepTarget& target);

}  // namespace lumenor::dimming
