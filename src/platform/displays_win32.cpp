#include "platform/displays_win32.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/text_win32.h"

namespace lumenor::platform {

namespace {

// The GDI device names of the displays in advanced-colour (HDR) mode.
std::vector<std::wstring> DisplaysInHdr() {
  std::vector<std::wstring> hdr;
  UINT32 pathCount = 0;
  UINT32 modeCount = 0;
  if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS)
    return hdr;
  std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
  std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
  if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount,
                         modes.data(), nullptr) != ERROR_SUCCESS)
    return hdr;
  paths.resize(pathCount);
  for (const DISPLAYCONFIG_PATH_INFO& path : paths) {
    DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO colour{};
    colour.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO;
    colour.header.size = sizeof colour;
    colour.header.adapterId = path.targetInfo.adapterId;
    colour.header.id = path.targetInfo.id;
    if (DisplayConfigGetDeviceInfo(&colour.header) != ERROR_SUCCESS) continue;
    if (!colour.advancedColorEnabled) continue;
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
    source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
    source.header.size = sizeof source;
    source.header.adapterId = path.sourceInfo.adapterId;
    source.header.id = path.sourceInfo.id;
    if (DisplayConfigGetDeviceInfo(&source.header) == ERROR_SUCCESS)
      hdr.emplace_back(source.viewGdiDeviceName);
  }
  return hdr;
}

// The monitor's device interface name stays with the monitor whatever else is plugged in; the
// device name ("\\.\DISPLAY2") may go to another monitor.
std::wstring MonitorIdentity(const wchar_t* deviceName) {
  DISPLAY_DEVICEW device{};
  device.cb = sizeof device;
  if (EnumDisplayDevicesW(deviceName, 0, &device, EDD_GET_DEVICE_INTERFACE_NAME) &&
      device.DeviceID[0] != L'\0')
    return device.DeviceID;
  device = DISPLAY_DEVICEW{};
  device.cb = sizeof device;
  if (EnumDisplayDevicesW(deviceName, 0, &device, 0) && device.DeviceID[0] != L'\0')
    return device.DeviceID;
  return deviceName;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
  return TRUE;
}

}  // namespace

DisplayGammaDevice::DisplayGammaDevice(const std::wstring& deviceName)
    : dc_(CreateDCW(L"DISPLAY", deviceName.c_str(), nullptr, nullptr)) {}

bool DisplayGammaDevice::ReadRamp(GammaRamp& ramp) {
  GammaRamp read{};
  if (!dc_ || !GetDeviceGammaRamp(dc_.get(), read.data())) return false;
  ramp = read;
  return true;
}

bool DisplayGammaDevice::WriteRamp(const GammaRamp& ramp) {
  // The API takes a non-const pointer but only reads the table.
  GammaRamp copy = ramp;
  return dc_ && SetDeviceGammaRamp(dc_.get(), copy.data()) != FALSE;
}

std::vector<DisplayInfo> Win32Displays::Attached(Look look) {
  std::vector<HMONITOR> monitors;
  EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  std::vector<DisplayInfo> displays;
  std::vector<std::size_t> unknown;  // displays whose identity and HDR state are to be asked for
  for (HMONITOR monitor : monitors) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) continue;
    DisplayInfo display;
    display.deviceName = Utf8(info.szDevice);
    const RECT& r = info.rcMonitor;  // physical pixels: the program is per-monitor DPI aware
    display.bounds = {r.left, r.top, r.right, r.bottom};
    display.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    const auto known = std::find_if(last_.begin(), last_.end(), [&](const DisplayInfo& d) {
      return d.deviceName == display.deviceName && d.bounds == display.bounds &&
             d.primary == display.primary;
    });
    if (look == Look::Quick && known != last_.end()) {
      display.identity = known->identity;
      display.hdr = known->hdr;
    } else {
      display.identity = Utf8(MonitorIdentity(info.szDevice));
      unknown.push_back(displays.size());
    }
    displays.push_back(std::move(display));
  }
  if (!unknown.empty()) {
    const std::vector<std::wstring> hdr = DisplaysInHdr();
    for (std::size_t k : unknown) {
      displays[k].hdr = std::find(hdr.begin(), hdr.end(), Utf16(displays[k].deviceName)) != hdr.end()
                             ? HdrMode::On
                             : HdrMode::Off;
    }
  }
  // Two monitors that report the same identity are still two displays.
  for (std::size_t k : unknown) {
    const auto same = [&](const DisplayInfo& d) {
      return &d != &displays[k] && d.identity == displays[k].identity;
    };
    if (std::any_of(displays.begin(), displays.end(), same))
      displays[k].identity += "|" + displays[k].deviceName;
  }
  last_ = displays;
  return displays;
}

std::vector<HdrMode> Win32Displays::HdrModes(const std::vector<DisplayInfo>& displays) {
  const std::vector<std::wstring> hdr = DisplaysInHdr();
  std::vector<HdrMode> modes;
  modes.reserve(displays.size());
  for (const DisplayInfo& display : displays) {
    modes.push_back(std::find(hdr.begin(), hdr.end(), Utf16(display.deviceName)) != hdr.end()
                        ? HdrMode::On
                        : HdrMode::Off);
  }
  return modes;
}

std::unique_ptr<GammaDevice> Win32Displays::OpenGamma(const DisplayInfo& display) {
  auto device = std::make_unique<DisplayGammaDevice>(Utf16(display.deviceName));
  if (!device->Opened()) return nullptr;
  return device;
}

}  // namespace lumenor::platform
