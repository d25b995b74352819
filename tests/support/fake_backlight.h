#pragma once
// Monitors behind DDC/CI as fields: each records every read and write, and can be scripted to fail
// calls, to answer yes and keep its level, or to report a maximum other than 100. Open hands out
// handles as Windows does, and a monitor's handles can be destroyed at any moment (a wake, a mode
// change, or with no message at all): a call on one then fails without reaching the monitor.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
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
  // Windows destroys every handle opened so far.
  void DestroyHandles() { ++handleGeneration; }

  std::uint32_t level = 80;
  std::uint32_t maximum = 100;
  int failingCalls = 0;        // the next this many calls fail
  bool alwaysFails = false;    // no DDC/CI
  bool ignoresWrites = false;  // answers yes and keeps its level
  int reads = 0;
  std::vector<std::uint32_t> writes;  // every level asked for, in order
  int handleGeneration = 0;           // handles of an earlier generation are destroyed
  int callsOnDestroyedHandles = 0;

 private:
  bool Fails() {
    if (alwaysFails) return true;
    if (failingCalls == 0) return false;
    --failingCalls;
    return true;
  }
};

// A handle to a monitor, as Open gives it: dead once the monitor's handles are destroyed.
class FakeMonitorHandle : public platform::MonitorBacklight {
 public:
  explicit FakeMonitorHandle(std::shared_ptr<FakeMonitorBacklight> monitor)
      : monitor_(std::move(monitor)), generation_(monitor_->handleGeneration) {}
  std::optional<platform::BacklightLevel> Read() override {
    if (Alive()) return monitor_->Read();
    return std::nullopt;
  }
  bool Write(std::uint32_t value) override { return Alive() && monitor_->Write(value); }

 private:
  bool Alive() {
    if (generation_ == monitor_->handleGeneration) return true;
    ++monitor_->callsOnDestroyedHandles;
    return false;
  }
  std::shared_ptr<FakeMonitorBacklight> monitor_;
  int generation_;
};

// The physical monitors by display identity (several in clone mode); a display without any has
// no DDC/CI.
class FakeBacklights : public platform::Backlights {
 public:
  std::vector<std::shared_ptr<platform::MonitorBacklight>> Open(
      const platform::DisplayInfo& display) override {
    opened.push_back(display.identity);
    std::vector<std::shared_ptr<platform::MonitorBacklight>> handles;
    for (const auto& monitor : monitors[display.identity])
      handles.push_back(std::make_shared<FakeMonitorHandle>(monitor));
    return handles;
  }
  std::map<std::string, std::vector<std::shared_ptr<FakeMonitorBacklight>>> monitors;
  std::vector<std::string> opened;
};

}  // namespace lumenor::testing
