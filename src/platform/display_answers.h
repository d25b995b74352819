#pragma once
// What the system's display queries answer, turned into what the program keeps: a display's HDR
// state from the advanced-colour queries, and which of a display's monitor entries names it.
// Platform-free, so each rule is tested natively over every answer the system may give.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/displays.h"

namespace lumenor::platform {

// DISPLAYCONFIG_ADVANCED_COLOR_MODE, as the newer advanced-colour query reports it.
enum class ActiveColourMode : std::uint8_t { Sdr = 0, Wcg = 1, Hdr = 2 };

// One display's answers. Where Windows has the newer query (11 24H2 and later), automatic colour
// management makes the older one say "advanced colour" for SDR displays too: the newer decides.
struct AdvancedColourAnswer {
  std::optional<ActiveColourMode> activeMode;  // empty: the newer query is not supported
  std::optional<bool> advancedColourEnabled;   // empty: the older query failed too
};

// HDR only when the display is in HDR mode; a display neither query knows is not HDR.
HdrMode HdrModeOf(const AdvancedColourAnswer& answer);

// One entry of the monitors EnumDisplayDevicesW lists under a display's device name.
struct MonitorEntry {
  bool active = false;   // DISPLAY_DEVICE_ACTIVE
  std::string deviceId;  // empty when the system gave none
};

// The identity of the display: the device ID of the entry flagged active (entry 0 may be a
// monitor no longer attached), else of the first entry with one; empty when none has one, and the
// caller falls back to the device name.
std::string IdentityOf(const std::vector<MonitorEntry>& entries);

}  // namespace lumenor::platform
