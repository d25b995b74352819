#pragma once
// What the system's notices mean for the displays, as the core hears it: the set of displays may
// have changed, or the displays may have been reset to the system's ramps. The listening window
// turns the window messages into these; nothing past it names a message code.

#include <cstdint>

namespace lumenor::platform {

enum class DisplaySignal {
  None,
  // Displays came, went, moved or changed mode (and their ramps may have been reset with it).
  DisplaysChanged,
  // Windows may have put its own ramp back: an unlock, a console connect, a display switched back
  // on, the end of a secure-desktop prompt.
  MayHaveBeenReset,
  // The system woke from sleep: as MayHaveBeenReset, and monitors may answer DDC/CI only seconds
  // later and may have gone back to their own backlight level.
  Resumed,
};

// Window messages and their codes that say so.
inline constexpr std::uint32_t kWmDisplayChange = 0x007E;
inline constexpr std::uint32_t kWmPowerBroadcast = 0x0218;
inline constexpr std::uintptr_t kPbtApmResumeSuspend = 0x0007;
inline constexpr std::uintptr_t kPbtApmResumeAutomatic = 0x0012;
inline constexpr std::uintptr_t kPbtPowerSettingChange = 0x8013;
inline constexpr std::uint32_t kWmWtsSessionChange = 0x02B1;
inline constexpr std::uintptr_t kWtsConsoleConnect = 0x1;
inline constexpr std::uintptr_t kWtsSessionUnlock = 0x8;
// The console display's power state, as GUID_CONSOLE_DISPLAY_STATE reports it.
inline constexpr int kConsoleDisplayOff = 0;
inline constexpr int kConsoleDisplayOn = 1;
inline constexpr int kConsoleDisplayDimmed = 2;

// The signal a message carries. consoleDisplayState is the state a power-setting change reports
// for GUID_CONSOLE_DISPLAY_STATE, or -1 when the message reports no such state.
DisplaySignal SignalOfMessage(std::uint32_t message, std::uintptr_t wParam,
                              int consoleDisplayState = -1);

}  // namespace lumenor::platform
