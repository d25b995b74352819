#pragma once
// The ranges and neutral values of the main window's sliders and of the darkness bar, owned here
// once (the darkness bar's by the road): the start-up, the restore, the hotkey steps and the
// window's controls all read them.

#include "dimming/darkness_bar.h"

namespace lumenor::app {

using dimming::kDarknessAtStart;
using dimming::kDarknessRange;  // HScroll_setblack
using dimming::ValueRange;

inline constexpr ValueRange kBrightnessRange{-50, 50, 0};  // Slider1
inline constexpr ValueRange kContrastRange{1, 300, 100};   // Slider2
inline constexpr ValueRange kColourRange{-50, 50, 0};      // Slider3(0 … 2)

}  // namespace lumenor::app
