#include "platform/gamma_device_win32.h"

namespace lumenor::platform {

DesktopGammaDevice::DesktopGammaDevice()
    : dc_(GetDC(GetDesktopWindow()), WindowDcReleaser{GetDesktopWindow()}) {}

bool DesktopGammaDevice::ReadRamp(GammaRamp& ramp) {
  GammaRamp read{};
  if (!dc_ || !GetDeviceGammaRamp(dc_.get(), read.data())) return false;
  ramp = read;
  return true;
}

bool DesktopGammaDevice::WriteRamp(const GammaRamp& ramp) {
  // The API takes a non-const pointer but only reads the table.
  GammaRamp copy = ramp;
  return dc_ && SetDeviceGammaRamp(dc_.get(), copy.data()) != FALSE;
}

}  // namespace lumenor::platform
