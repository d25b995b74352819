#pragma once
// Monitors behind DDC/CI as fields: each records every read and write, and can be scripted to fail
// calls, to answer yes and keep its level, or to report a maximum other than 100.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backlight.h"

namespace lumenor::testing {

class FakeMonitorBacklight : public platform::MonitorBacklight {
 public:
  std::optional<platform::BacklightLevel> Read() override {
    ++reads;
    if (Fails()) return std::nullopt;
    return platform::BacklightLevel{level, maximum};
  }
  bool Write(std::uint32_t value) override {
    writes.push_back(value);
    if (Fails()) return false;
    if (!ignoresWrites) level = value;
    return true;
  }

  std::uint32_t level = 80;
  std::uint32_t maximum = 100;
  int failingCalls = 0;        // the next this many calls fail
  bool alwaysFails = false;
  bool ignoresWrites = false;  // answers yes and keeps its level
  int reads = 0;
  std::vector<std::uint32_t> writes;  // every level asked for, in order

 private:
  bool Fails() {
    if (alwaysFails) return true;
    if (failingCalls == 0) return false;
    --failingCalls;
    return true;
  }
};

// The monitors by display identity; a display without one has no DDC/CI.
class FakeBacklights : public platform::Backlights {
 public:
  std::shared_ptr<platform::MonitorBacklight> Open(const platform::DisplayInfo& display) override {
    opened.push_back(display.identity);
    const auto monitor = monitors.find(display.identity);
    if (monitor == monitors.end()) return nullptr;
    return monitor->second;
  }
  std::map<std::string, std::shared_ptr<FakeMonitorBacklight>> monitors;
  std::vector<std::string> opened;
};

}  // namespace lumenor::testing
