#pragma once
// A monitor's own backlight over DDC/CI: VCP code 0x10, its level from 0 to the maximum the
// monitor reports (often 100, not always). Every call blocks for tens of milliseconds, sometimes
// seconds, and may never return, so each is made on the worker thread only (platform/worker.h);
// the objects are made on the user-interface thread and handed to jobs.

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/displays.h"

namespace lumenor::platform {

struct BacklightLevel {
  std::uint32_t current = 0;
  std::uint32_t maximum = 0;
  friend bool operator==(const BacklightLevel&, const BacklightLevel&) = default;
};

// The physical monitor (or monitors, shown as one display) behind one display.
class MonitorBacklight {
 public:
  virtual ~MonitorBacklight() = default;
  // Empty when the call failed (no DDC/CI, an I2C error, a monitor that does not answer).
  virtual std::optional<BacklightLevel> Read() = 0;
  // False when the call failed. A monitor may answer yes and keep its level: read back.
  virtual bool Write(std::uint32_t level) = 0;
};

class Backlights {
 public:
  virtual ~Backlights() = default;
  // The monitor behind the display, or null when the system offers no physical monitor for it
  // (no DDC/CI support). Blocking: worker thread only. Safe to call from that thread while the
  // user-interface thread lists displays.
  virtual std::shared_ptr<MonitorBacklight> Open(const DisplayInfo& display) = 0;
};

}  // namespace lumenor::platform
