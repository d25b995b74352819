#include "platform/gamma_device_win32.h"

namespace lumenor::platform {

DesktopGammaDevice::DesktopGammaDevice() : desktop_(GetDesktopWindow()), dc_(GetDC(desktop_)) {}

DesktopGammaDevice::~DesktopGammaDevice() {
  if (dc_ != nullptr) ReleaseDC(desktop_, dc_);
}

bool DesktopGammaDevice::ReadRamp(GammaRamp& ramp) {
  GammaRamp read{};
  if (dc_ == nullptr || !GetDeviceGammaRamp(dc_, read.data())) return false;
  ramp = read;
  return true;
}

bool DesktopGammaDevice::WriteRamp(const GammaRamp& ramp) {
  // The API takes a non-const pointer but only reads the table.
  GammaRamp copy = ramp;
  return dc_ != nullptr && SetDeviceGammaRamp(dc_, copy.data()) != FALSE;
}

}  // namespace lumenor::platform
