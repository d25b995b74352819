#pragma once
// One display attached: what the system says of it, its own device context, its ramps and the
// keeper between them, and whether the user left it out. The program holds whether a display is
// included here and nowhere else; the overlays are told it with each follow.

#include <memory>

#include "display/gamma_ramp.h"
#include "display/ramp_keeper.h"
#include "platform/displays.h"

namespace lumenor::display {

struct AttachedDisplay {
  // A null device (the display could not be opened) reads nothing and takes nothing.
  AttachedDisplay(platform::DisplayInfo info, std::unique_ptr<platform::GammaDevice> opened);

  // Its reference from what it shows; the straight ramp when it cannot be read.
  void ReadReference();
  // Lumenor writes it: included, not in HDR mode, and not handed to another program.
  bool Written() const;

  platform::DisplayInfo info;
  std::unique_ptr<platform::GammaDevice> device;
  RampKeeper keeper{*device};
  GammaAdjuster ramps{keeper};
  bool included = true;
  // Another program wrote its ramp: Lumenor leaves it alone until the user's next adjustment.
  bool yielded = false;
};

}  // namespace lumenor::display
