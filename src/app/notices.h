#pragma once
// What the main window tells the user through the tray icon's balloon: a hotkey that another
// program held when the main window loaded.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/notices.h"

namespace lumenor::hotkey {
class VBHotKey;
}

namespace lumenor::app {

using platform::kNoticeTitle;
using platform::Notices;

// A combination as the user reads it: "Ctrl+←", "Ctrl+Shift+A". Modifier flags as the hotkey
// record holds them (Alt 1, Control 2, Shift 4, Windows 8).
std::string HotkeyName(std::int32_t modifiers, std::int32_t virtualKey);

// "热键 Ctrl+← 已被其他程序占用：" and the system's text for the failure, for a loaded control that
// wants its hotkey but could not register it; empty when the control holds its combination or
// does not want it.
std::optional<std::string> HotkeyTakenNotice(const hotkey::VBHotKey& control);

}  // namespace lumenor::app
