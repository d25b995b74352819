#pragma once
// A display in HDR mode is never written: a ramp would tint it. The system cannot always say.

#include "platform/displays.h"

namespace lumenor::display {

// What counts now: the answer when the system gave one, else what was known (a display never
// known counts as not HDR).
platform::HdrMode KnownHdr(platform::HdrMode before, platform::HdrMode asked);

}  // namespace lumenor::display
