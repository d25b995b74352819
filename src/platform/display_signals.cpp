#include "platform/display_signals.h"

namespace lumenor::platform {

DisplaySignal SignalOfMessage(std::uint32_t message, std::uintptr_t wParam,
                              int consoleDisplayState) {
  switch (message) {
    case kWmDisplayChange:
      return DisplaySignal::DisplaysChanged;
    case kWmPowerBroadcast:
      if (wParam == kPbtApmResumeAutomatic || wParam == kPbtApmResumeSuspend) {
        return DisplaySignal::Resumed;
      }
      // A display switched back on comes up with the system's ramp. Some wakes on Modern
      // Standby machines tell only this.
      if (wParam == kPbtPowerSettingChange && consoleDisplayState == kConsoleDisplayOn) {
        return DisplaySignal::MayHaveBeenReset;
      }
      return DisplaySignal::None;
    case kWmWtsSessionChange:
      return wParam == kWtsSessionUnlock || wParam == kWtsConsoleConnect
                 ? DisplaySignal::MayHaveBeenReset
                 : DisplaySignal::None;
    default:
      return DisplaySignal::None;
  }
}

}  // namespace lumenor::platform
