#pragma once
// What the program tells the user through the tray icon's balloon, and the texts it uses: a ramp
// the display refused, and a hotkey that another program held when the main window loaded.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumenor::hotkey {
class VBHotKey;
}

namespace lumenor::app {

inline constexpr std::string_view kNoticeTitle = "显示器亮度调节增强";
inline constexpr std::string_view kRampRefusedText =
    "显示器不接受这一设置，画面保持上一次的设置。要更暗或更亮，请用“加强”或按住 Ctrl+← / "
    "Ctrl+→。";

// The tray icon's balloon; a new one replaces the one showing.
class Notices {
 public:
  virtual ~Notices() = default;
  virtual void Show(std::string_view title, std::string_view text) = 0;
};

// A combination as the user reads it: "Ctrl+←", "Ctrl+Shift+A". Modifier flags as the hotkey
// record holds them (Alt 1, Control 2, Shift 4, Windows 8).
std::string HotkeyName(std::int32_t modifiers, std::int32_t virtualKey);

// "热键 Ctrl+← 已被其他程序占用：" and the system's text for the failure, for a loaded control that
// wants its hotkey but could not register it; empty when the control holds its combination or
// does not want it.
std::optional<std::string> HotkeyTakenNotice(const hotkey::VBHotKey& control);

}  // namespace lumenor::app
