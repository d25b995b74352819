#pragma once
// The real services behind the hotkey controls, one of each for the process. The window procedure
// that Win32HotkeyProcedures() installs is a noexcept trampoline into HotkeyWindowProc.
#include <windows.h>

#include "platform/hotkey_platform.h"

namespace lumenor::hotkey {

platform::HotkeyPlatform& Win32Hotkeys();
platform::WindowProcedures& Win32HotkeyProcedures();

}  // namespace lumenor::hotkey
