#pragma once
// Values shared by the hotkey record, the dispatch and the control: truth values, modifier flags,
// window keys.

#include <cstdint>
#include <string>

#include "platform/hotkey_platform.h"

namespace lumenor::hotkey {

using platform::WindowHandle;
using platform::WindowProcedure;

// Truth values are 16-bit: -1 true, 0 false; any non-zero value counts as true when tested.
using TruthValue = std::int16_t;
inline constexpr TruthValue kTrue = -1;
inline constexpr TruthValue kFalse = 0;
constexpr TruthValue ToTruth(std::int64_t value) {
  return value != 0 ? kTrue : kFalse;
}

// Modifier flags, the platform's hotkey modifier values.
inline constexpr std::int32_t kModAlt = 1;
inline constexpr std::int32_t kModControl = 2;
inline constexpr std::int32_t kModShift = 4;
inline constexpr std::int32_t kModWin = 8;

inline constexpr std::uint32_t kHotkeyMessage = 0x0312;  // WM_HOTKEY

// "hwnd:" and the handle in decimal: the key of a window in both registries.
inline std::string WindowKey(WindowHandle window) {
  return "hwnd:" + std::to_string(window);
}

}  // namespace lumenor::hotkey
