#pragma once
// Whether a display the system lists now is one the program knew: the one place that decides it.

#include "platform/displays.h"

namespace lumenor::display {

// The same monitor: the same identity. An identity made of the device name alone holds only as
// long as the display stays where it was (another display takes the name after a reorder).
bool SameDisplay(const platform::DisplayInfo& known, const platform::DisplayInfo& now);

}  // namespace lumenor::display
