#include "platform/display_answers.h"

namespace lumenor::platform {

HdrMode HdrModeOf(const AdvancedColourAnswer& answer) {
  if (answer.activeMode)
    return *answer.activeMode == ActiveColourMode::Hdr ? HdrMode::On : HdrMode::Off;
  return answer.advancedColourEnabled.value_or(false) ? HdrMode::On : HdrMode::Off;
}

std::string IdentityOf(const std::vector<MonitorEntry>& entries) {
  for (const MonitorEntry& entry : entries)
    if (entry.active && !entry.deviceId.empty()) return entry.deviceId;
  for (const MonitorEntry& entry : entries)
    if (!entry.deviceId.empty()) return entry.deviceId;
  return {};
}

}  // namespace lumenor::platform
