#pragma once
// Each monitor's backlight through dxva2's physical-monitor calls (VCP code 0x10 over DDC/CI).
// dxva2.dll is loaded from the system directory on the first Open, never imported, so a program
// without such a monitor never loads it and no copy saved beside the exe is ever loaded. Every
// call blocks: the worker thread only.
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/backlight.h"

namespace lumenor::platform {

class Win32Backlights final : public Backlights {
 public:
  Win32Backlights() = default;
  Win32Backlights(const Win32Backlights&) = delete;
  Win32Backlights& operator=(const Win32Backlights&) = delete;

  std::vector<std::shared_ptr<MonitorBacklight>> Open(const DisplayInfo& display) override;

  struct Api;

 private:
  std::shared_ptr<const Api> LoadApi();

  SRWLOCK lock_ = SRWLOCK_INIT;
  bool tried_ = false;
  std::shared_ptr<const Api> api_;  // shared with each monitor, which keeps the DLL loaded
};

}  // namespace lumenor::platform
