#pragma once
// The display's gamma ramp, read from and written to the desktop's device context.

#include "platform/gamma_ramp_data.h"

namespace lumenor::platform {

class GammaDevice {
 public:
  virtual ~GammaDevice() = default;
  // Fills ramp with the display's ramp; false (ramp untouched) when the display has none.
  virtual bool ReadRamp(GammaRamp& ramp) = 0;
  // Hands the ramp to the display; false when the display refuses it (it keeps its old ramp).
  virtual bool WriteRamp(const GammaRamp& ramp) = 0;
};

}  // namespace lumenor::platform
