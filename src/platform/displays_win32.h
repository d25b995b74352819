#pragma once
// The displays attached, as Windows lists them, and each display's ramp through a device context
// of its own (CreateDC for that display, deleted with the object).
#include <windows.h>

#include <string>
#include <vector>

#include "platform/displays.h"
#include "platform/handles_win32.h"

namespace lumenor::platform {

class DisplayGammaDevice final : public GammaDevice {
 public:
  explicit DisplayGammaDevice(const std::wstring& deviceName);
  DisplayGammaDevice(const DisplayGammaDevice&) = delete;
  DisplayGammaDevice& operator=(const DisplayGammaDevice&) = delete;

  bool Opened() const { return static_cast<bool>(dc_); }
  bool ReadRamp(GammaRamp& ramp) override;
  bool WriteRamp(const GammaRamp& ramp) override;

 private:
  UniqueDisplayDc dc_;
};

class Win32Displays final : public Displays {
 public:
  // EnumDisplayMonitors' order; the identity is the monitor's device interface name. HDR comes from
  // the display configuration: a display it does not know, or a query that fails, is not HDR.
  // Both take the system far longer than the list of monitors (under Wine, well over a hundred
  // context switches), so a quick look reuses them for the displays that have not changed.
  std::vector<DisplayInfo> Attached(Look look) override;
  std::vector<HdrMode> HdrModes(const std::vector<DisplayInfo>& displays) override;
  std::unique_ptr<GammaDevice> OpenGamma(const DisplayInfo& display) override;

 private:
  std::vector<DisplayInfo> last_;
};

}  // namespace lumenor::platform
