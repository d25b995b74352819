#pragma once
// A monitor's own backlight over DDC/CI: VCP code 0x10, its level from 0 to the maximum the
// monitor reports (often 100, not always). Every call blocks for tens of milliseconds, sometimes
// seconds, and may never return, so each is made on the worker thread only (platform/worker.h);
// the objects are made on the user-interface thread and handed to jobs.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/displays.h"

namespace lumenor::platform {

struct BacklightLevel {
  std::uint32_t current = 0;
  std::uint32_t maximum = 0;
  friend bool operator==(const BacklightLevel&, const BacklightLevel&) = default;
};

// One physical monitor behind a display, through the handle it was opened with. Windows destroys
// such handles when the display mode changes, when the monitor is switched off and on or
// unplugged, and across sleep: every call on one then fails, and only a handle asked for afresh
// reaches the monitor again.
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
  // The physical monitors behind the display, each with a fresh handle, or none when the system
  // offers none (no DDC/CI support). In duplicate (clone) mode a display has several, often a
  // laptop panel without DDC/CI beside an external monitor. Blocking: worker thread only. Safe to
  // call from that thread while the user-interface thread lists displays.
  virtual std::vector<std::shared_ptr<MonitorBacklight>> Open(const DisplayInfo& display) = 0;
};

}  // namespace lumenor::platform
