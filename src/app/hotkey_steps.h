#pragma once
// The two hotkey steps of the darkness bar, which the road walks: 5 towards an end, snapping to
// -255 or 255 on the last.

#include "dimming/darkness_bar.h"

namespace lumenor::app {

using dimming::DarknessStepTarget;
using dimming::StepBrighter;
using dimming::StepDarker;

}  // namespace lumenor::app
