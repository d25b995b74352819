#pragma once
// The desktop's device context, owned for as long as this object lives, and the display's ramp
// through it.
#include <windows.h>

#include "platform/gamma_device.h"

namespace lumenor::platform {

class DesktopGammaDevice final : public GammaDevice {
 public:
  DesktopGammaDevice();
  ~DesktopGammaDevice() override;
  DesktopGammaDevice(const DesktopGammaDevice&) = delete;
  DesktopGammaDevice& operator=(const DesktopGammaDevice&) = delete;

  bool ReadRamp(GammaRamp& ramp) override;
  bool WriteRamp(const GammaRamp& ramp) override;

 private:
  HWND desktop_;
  HDC dc_;
};

}  // namespace lumenor::platform
