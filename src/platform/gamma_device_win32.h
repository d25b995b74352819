#pragma once
// The desktop's device context, owned for as long as this object lives, and the display's ramp
// through it.
#include <windows.h>

#include "platform/gamma_device.h"
#include "platform/handles_win32.h"

namespace lumenor::platform {

class DesktopGammaDevice final : public GammaDevice {
 public:
  DesktopGammaDevice();
  DesktopGammaDevice(const DesktopGammaDevice&) = delete;
  DesktopGammaDevice& operator=(const DesktopGammaDevice&) = delete;

  bool ReadRamp(GammaRamp& ramp) override;
  bool WriteRamp(const GammaRamp& ramp) override;

 private:
  UniqueWindowDc dc_;
};

}  // namespace lumenor::platform
