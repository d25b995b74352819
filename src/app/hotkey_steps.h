#pragma once
// The two hotkey steps of the darkness bar: 5 towards an end, snapping to -255 or 255 on the last.

namespace lumenor::app {

// The main window's pieces that a step touches, and nothing else: no slider, no ramp. The main
// window's controls are one (MainWindowControls).
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

}  // namespace lumenor::app
