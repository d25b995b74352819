#include "platform/backlights_win32.h"

// after windows.h, which it needs
#include <physicalmonitorenumerationapi.h>

#include <utility>
#include <vector>

#include "platform/handles_win32.h"
#include "platform/text_win32.h"

namespace lumenor::platform {

namespace {

constexpr BYTE kBrightness = 0x10;  // the VCP code of the backlight's luminance
// Physical-monitor handles that come back null are there a moment later.
constexpr DWORD kAskAgainMs = 200;

struct MonitorSearch {
  std::wstring deviceName;
  HMONITOR found = nullptr;
};

BOOL CALLBACK FindMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM parameter) {
  auto* search = reinterpret_cast<MonitorSearch*>(parameter);
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info) && search->deviceName == info.szDevice) {
    search->found = monitor;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

struct Win32Backlights::Api {
  UniqueModule library;
  BOOL(WINAPI* count)(HMONITOR, LPDWORD) = nullptr;
  BOOL(WINAPI* get)(HMONITOR, DWORD, LPPHYSICAL_MONITOR) = nullptr;
  BOOL(WINAPI* destroy)(DWORD, LPPHYSICAL_MONITOR) = nullptr;
  BOOL(WINAPI* read)(HANDLE, BYTE, LPDWORD, LPDWORD, LPDWORD) = nullptr;
  BOOL(WINAPI* write)(HANDLE, BYTE, DWORD) = nullptr;
};

namespace {

template <class Function>
void Find(HMODULE library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// One physical monitor's handle, destroyed with the object.
class PhysicalMonitor final : public MonitorBacklight {
 public:
  PhysicalMonitor(std::shared_ptr<const Win32Backlights::Api> api, PHYSICAL_MONITOR monitor)
      : api_(std::move(api)), monitor_(monitor) {}
  ~PhysicalMonitor() override { api_->destroy(1, &monitor_); }
  PhysicalMonitor(const PhysicalMonitor&) = delete;
  PhysicalMonitor& operator=(const PhysicalMonitor&) = delete;

  std::optional<BacklightLevel> Read() override {
    DWORD current = 0;
    DWORD maximum = 0;
    if (!api_->read(monitor_.hPhysicalMonitor, kBrightness, nullptr, &current, &maximum))
      return std::nullopt;
    return BacklightLevel{current, maximum};
  }
  bool Write(std::uint32_t level) override {
    return api_->write(monitor_.hPhysicalMonitor, kBrightness, level) != FALSE;
  }

 private:
  std::shared_ptr<const Win32Backlights::Api> api_;
  PHYSICAL_MONITOR monitor_;
};

// The display's physical monitors, or none; the caller destroys what it gets.
std::vector<PHYSICAL_MONITOR> AskMonitors(const Win32Backlights::Api& api, HMONITOR monitor) {
  DWORD count = 0;
  if (!api.count(monitor, &count) || count == 0) return {};
  std::vector<PHYSICAL_MONITOR> monitors(count);
  if (!api.get(monitor, count, monitors.data())) return {};
  return monitors;
}

bool AnyNull(const std::vector<PHYSICAL_MONITOR>& monitors) {
  for (const PHYSICAL_MONITOR& monitor : monitors)
    if (monitor.hPhysicalMonitor == nullptr) return true;
  return false;
}

}  // namespace

std::shared_ptr<const Win32Backlights::Api> Win32Backlights::LoadApi() {
  AcquireSRWLockExclusive(&lock_);
  if (!tried_) {
    tried_ = true;
    auto api = std::make_shared<Api>();
    api->library.reset(LoadLibraryExW(L"dxva2.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (HMODULE library = api->library.get()) {
      Find(library, "GetNumberOfPhysicalMonitorsFromHMONITOR", api->count);
      Find(library, "GetPhysicalMonitorsFromHMONITOR", api->get);
      Find(library, "DestroyPhysicalMonitors", api->destroy);
      Find(library, "GetVCPFeatureAndVCPFeatureReply", api->read);
      Find(library, "SetVCPFeature", api->write);
      if (api->count && api->get && api->destroy && api->read && api->write) api_ = std::move(api);
    }
  }
  std::shared_ptr<const Api> api = api_;
  ReleaseSRWLockExclusive(&lock_);
  return api;
}

std::vector<std::shared_ptr<MonitorBacklight>> Win32Backlights::Open(const DisplayInfo& display) {
  const std::shared_ptr<const Api> api = LoadApi();
  if (!api) return {};
  MonitorSearch search{Utf16(display.deviceName)};
  EnumDisplayMonitors(nullptr, nullptr, &FindMonitor, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return {};
  std::vector<PHYSICAL_MONITOR> monitors = AskMonitors(*api, search.found);
  if (AnyNull(monitors)) {
    api->destroy(static_cast<DWORD>(monitors.size()), monitors.data());
    Sleep(kAskAgainMs);
    monitors = AskMonitors(*api, search.found);
    if (AnyNull(monitors)) {
      api->destroy(static_cast<DWORD>(monitors.size()), monitors.data());
      return {};
    }
  }
  // Each on its own: in clone mode one may answer DDC/CI while the other does not.
  std::vector<std::shared_ptr<MonitorBacklight>> opened;
  opened.reserve(monitors.size());
  for (const PHYSICAL_MONITOR& monitor : monitors)
    opened.push_back(std::make_shared<PhysicalMonitor>(api, monitor));
  return opened;
}

}  // namespace lumenor::platform
