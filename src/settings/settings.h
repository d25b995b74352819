#pragma once
// What the user chose and keeps across runs, as lumenor.ini holds it: the two hotkeys, the displays
// left out, the options of the tray menu's "设置", and the window's last state for a restore at
// start. Plain values; reading and writing the file's text is settings_file.h's.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dimming/darkness_bar.h"

namespace lumenor::settings {

// A combination as the hotkey record holds it: modifier flags (Alt 1, Control 2, Shift 4,
// Windows 8) and a virtual-key code.
struct KeyChoice {
  std::int32_t modifiers = 0;
  std::int32_t virtualKey = 0;
  friend bool operator==(const KeyChoice&, const KeyChoice&) = default;
};

inline constexpr KeyChoice kDefaultDarkerKey{2, 37};    // Ctrl+←
inline constexpr KeyChoice kDefaultBrighterKey{2, 39};  // Ctrl+→

// A combination a system-wide hotkey can take without stealing plain typing: a key code from 1 to
// 254 with Ctrl, Alt or the Windows key (Shift alone is not enough), and no other flag.
bool IsUsableKey(const KeyChoice& key);

struct KeyPair {
  KeyChoice darker = kDefaultDarkerKey;
  KeyChoice brighter = kDefaultBrighterKey;
};

// Why the "快捷键" dialog refuses a pair of keys, or nothing when it takes them.
inline constexpr std::string_view kKeyWithoutModifierText = "快捷键须含 Ctrl、Alt 或 Win 键。";
inline constexpr std::string_view kSameKeyTwiceText = "变暗和变亮不能是同一个快捷键。";
std::optional<std::string_view> KeyPairProblem(const KeyChoice& darker, const KeyChoice& brighter);

// The main window as it was at the last end, for "启动时恢复上次的设置".
struct WindowState {
  std::int32_t brightness = 0;   // Slider1, -50 ... 50
  std::int32_t contrast = 100;   // Slider2, 1 ... 300
  std::int32_t red = 0;          // Slider3 (0 ... 2), -50 ... 50 each
  std::int32_t green = 0;
  std::int32_t blue = 0;
  std::int32_t darkness = dimming::kDarknessAtStart;  // HScroll_setblack, -255 ... 255
  bool enhance = false;          // Check加强
  // Each driven display's backlight level, by identity; also those not attached at the end, kept
  // for when they come back.
  std::vector<std::pair<std::string, std::uint32_t>> backlights = {};
  friend bool operator==(const WindowState&, const WindowState&) = default;
};

// The most opaque overlay a restore at start brings back, so the screen stays readable.
inline constexpr std::int32_t kMostOpaqueRestored = 160;

// The highest backlight level a monitor can report (a 16-bit value).
inline constexpr std::uint32_t kHighestBacklight = 65535;

// The state a restore at start applies: the darkness no further from 0 than kMostOpaqueRestored.
WindowState StateToRestore(const WindowState& last);

struct Settings {
  KeyChoice darkerKey = kDefaultDarkerKey;
  KeyChoice brighterKey = kDefaultBrighterKey;
  std::vector<std::string> displaysLeftOut;  // by identity, also those not attached now
  bool backlightFirst = true;                // "先调背光"
  bool restoreAtStart = false;               // "启动时恢复上次的设置"
  bool includeInScreenshots = false;         // "截图时包含遮罩"
  std::optional<WindowState> lastState;      // written at the end while restoreAtStart is on
  friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace lumenor::settings
