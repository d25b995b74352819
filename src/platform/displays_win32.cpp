#include "platform/displays_win32.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/display_answers.h"
#include "platform/text_win32.h"

namespace lumenor::platform {

namespace {

// The newer advanced-colour query (Windows 11 24H2 and later), which MinGW's headers lack:
// DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO_2 and its answer.
constexpr auto kAdvancedColourInfo2 = static_cast<DISPLAYCONFIG_DEVICE_INFO_TYPE>(15);
struct AdvancedColourInfo2 {
  DISPLAYCONFIG_DEVICE_INFO_HEADER header;
  UINT32 flags;  // advancedColorSupported, advancedColorActive, ... one bit each
  DISPLAYCONFIG_COLOR_ENCODING colorEncoding;
  UINT32 bitsPerColorChannel;
  UINT32 activeColorMode;  // DISPLAYCONFIG_ADVANCED_COLOR_MODE: SDR 0, WCG 1, HDR 2
};

struct DisplayHdr {
  std::wstring deviceName;
  HdrMode mode = HdrMode::Off;
};

// Asks the display configuration for one kind of information about a source or a target; true
// when the system answered.
template <typename Info, typename Type>
bool AskDevice(Info& info, Type type, LUID adapterId, UINT32 id) {
  info.header.type = static_cast<DISPLAYCONFIG_DEVICE_INFO_TYPE>(type);
  info.header.size = sizeof info;
  info.header.adapterId = adapterId;
  info.header.id = id;
  return DisplayConfigGetDeviceInfo(&info.header) == ERROR_SUCCESS;
}

AdvancedColourAnswer AskAdvancedColour(const DISPLAYCONFIG_PATH_INFO& path) {
  AdvancedColourAnswer answer;
  const LUID adapter = path.targetInfo.adapterId;
  AdvancedColourInfo2 newer{};
  if (AskDevice(newer, kAdvancedColourInfo2, adapter, path.targetInfo.id)) {
    answer.activeMode = static_cast<ActiveColourMode>(newer.activeColorMode);
    return answer;
  }
  DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO older{};
  if (AskDevice(older, DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO, adapter,
                path.targetInfo.id))
    answer.advancedColourEnabled = older.advancedColorEnabled != 0;
  return answer;
}

// Each active display's HDR state by GDI device name; empty when the configuration could not be
// read. The layout may change between the size query and the query (a hot-plug): ask again.
std::optional<std::vector<DisplayHdr>> AskHdr() {
  std::vector<DISPLAYCONFIG_PATH_INFO> paths;
  std::vector<DISPLAYCONFIG_MODE_INFO> modes;
  LONG result = ERROR_INSUFFICIENT_BUFFER;
  for (int attempt = 0; attempt < 3 && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
    UINT32 pathCount = 0;
    UINT32 modeCount = 0;
    result = GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount);
    if (result != ERROR_SUCCESS) return std::nullopt;
    paths.resize(pathCount);
    modes.resize(modeCount);
    result = QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount,
                                modes.data(), nullptr);
    paths.resize(pathCount);
  }
  if (result != ERROR_SUCCESS) return std::nullopt;
  std::vector<DisplayHdr> hdr;
  for (const DISPLAYCONFIG_PATH_INFO& path : paths) {
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
    if (AskDevice(source, DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME, path.sourceInfo.adapterId,
                  path.sourceInfo.id))
      hdr.push_back({source.viewGdiDeviceName, HdrModeOf(AskAdvancedColour(path))});
  }
  return hdr;
}

// A display the configuration does not know is not HDR; a configuration that could not be read
// says nothing.
HdrMode HdrModeIn(const std::optional<std::vector<DisplayHdr>>& hdr,
                  const std::string& deviceName) {
  if (!hdr) return HdrMode::Unknown;
  const std::wstring name = Utf16(deviceName);
  for (const DisplayHdr& display : *hdr)
    if (display.deviceName == name) return display.mode;
  return HdrMode::Off;
}

std::vector<MonitorEntry> MonitorEntries(const wchar_t* deviceName, DWORD flags) {
  std::vector<MonitorEntry> entries;
  DISPLAY_DEVICEW device{};
  device.cb = sizeof device;
  for (DWORD k = 0; EnumDisplayDevicesW(deviceName, k, &device, flags); ++k) {
    entries.push_back({(device.StateFlags & DISPLAY_DEVICE_ACTIVE) != 0, Utf8(device.DeviceID)});
    device = DISPLAY_DEVICEW{};
    device.cb = sizeof device;
  }
  return entries;
}

// The monitor's device interface name stays with the monitor whatever else is plugged in; the
// device name ("\\.\DISPLAY2") may go to another monitor, and is the identity only when the
// system names no monitor.
void SetIdentity(DisplayInfo& display, const wchar_t* deviceName) {
  display.identity = IdentityOf(MonitorEntries(deviceName, EDD_GET_DEVICE_INTERFACE_NAME));
  if (display.identity.empty()) display.identity = IdentityOf(MonitorEntries(deviceName, 0));
  display.nameOnlyIdentity = display.identity.empty();
  if (display.nameOnlyIdentity) display.identity = display.deviceName;
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
      display.nameOnlyIdentity = known->nameOnlyIdentity;
      display.hdr = known->hdr;
    } else {
      SetIdentity(display, info.szDevice);
      unknown.push_back(displays.size());
    }
    displays.push_back(std::move(display));
  }
  if (!unknown.empty()) {
    const auto hdr = AskHdr();
    for (std::size_t k : unknown) displays[k].hdr = HdrModeIn(hdr, displays[k].deviceName);
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
  const auto hdr = AskHdr();
  std::vector<HdrMode> modes;
  modes.reserve(displays.size());
  for (const DisplayInfo& display : displays) modes.push_back(HdrModeIn(hdr, display.deviceName));
  return modes;
}

std::unique_ptr<GammaDevice> Win32Displays::OpenGamma(const DisplayInfo& display) {
  auto device = std::make_unique<DisplayGammaDevice>(Utf16(display.deviceName));
  if (!device->Opened()) return nullptr;
  return device;
}

}  // namespace lumenor::platform
