#include "settings/settings_file.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

namespace lumenor::settings {

namespace {

constexpr std::string_view kHeader =
    "; Lumenor 的设置，UTF-8。快捷键：修饰键之和（Alt 1，Ctrl 2，Shift 4，Win 8），虚拟键码\n";
// A line this long is no setting (an identity is a few hundred characters at most).
constexpr std::size_t kMaxLineBytes = 4096;

constexpr std::string_view kDarker = "darker";
constexpr std::string_view kBrighter = "brighter";
constexpr std::string_view kLeaveOut = "leave_out";
constexpr std::string_view kBacklightFirst = "backlight_first";
constexpr std::string_view kRestoreAtStart = "restore_at_start";
constexpr std::string_view kIncludeInScreenshots = "include_in_screenshots";

// The window's last state, each with its range.
struct StateField {
  std::string_view name;
  std::int32_t WindowState::*field;
  std::int32_t minimum;
  std::int32_t maximum;
};
constexpr StateField kStateFields[] = {
    {"last_brightness", &WindowState::brightness, -50, 50},
    {"last_contrast", &WindowState::contrast, 1, 300},
    {"last_red", &WindowState::red, -50, 50},
    {"last_green", &WindowState::green, -50, 50},
    {"last_blue", &WindowState::blue, -50, 50},
    {"last_darkness", &WindowState::darkness, -255, 255},
};
constexpr std::string_view kLastEnhance = "last_enhance";

std::string_view Trim(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

std::optional<std::int32_t> Integer(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.size() > 7) return std::nullopt;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<bool> Flag(std::string_view text) {
  const std::optional<std::int32_t> value = Integer(text);
  if (value == 0) return false;
  if (value == 1) return true;
  return std::nullopt;
}

std::optional<KeyChoice> Key(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::optional<std::int32_t> modifiers = Integer(text.substr(0, comma));
  const std::optional<std::int32_t> virtualKey = Integer(text.substr(comma + 1));
  if (!modifiers || !virtualKey) return std::nullopt;
  const KeyChoice key{*modifiers, *virtualKey};
  if (!IsUsableKey(key)) return std::nullopt;
  return key;
}

// Strict UTF-8 without control characters other than tab and line breaks.
bool IsSettingsText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
      if ((b0 < 0x20 && b0 != '\t' && b0 != '\n' && b0 != '\r') || b0 == 0x7F) return false;
      ++i;
      continue;
    }
    const std::size_t length = b0 < 0xC2 ? 0 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : b0 < 0xF5 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    std::uint32_t cp = b0 & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kShortest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

// An identity goes on one line as it is: no line break, no surrounding blank, not too long.
bool IsWritableIdentity(std::string_view identity) {
  return !identity.empty() && identity.size() < kMaxLineBytes - kLeaveOut.size() - 1 &&
         Trim(identity) == identity && IsSettingsText(identity) &&
         identity.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

bool IsUsableKey(const KeyChoice& key) {
  constexpr std::int32_t kAllFlags = 1 | 2 | 4 | 8;
  constexpr std::int32_t kNotShiftAlone = 1 | 2 | 8;
  return key.virtualKey >= 1 && key.virtualKey <= 254 && (key.modifiers & ~kAllFlags) == 0 &&
         (key.modifiers & kNotShiftAlone) != 0;
}

std::optional<std::string_view> KeyPairProblem(const KeyChoice& darker, const KeyChoice& brighter) {
  if (!IsUsableKey(darker) || !IsUsableKey(brighter)) return kKeyWithoutModifierText;
  if (darker == brighter) return kSameKeyTwiceText;
  return std::nullopt;
}

WindowState StateToRestore(const WindowState& last) {
  WindowState state = last;
  state.darkness = std::clamp(state.darkness, -kMostOpaqueRestored, kMostOpaqueRestored);
  return state;
}

ReadOutcome ReadSettings(std::string_view text) {
  ReadOutcome outcome;
  if (text.size() > kMaxFileBytes) {
    outcome.refused = true;
    outcome.problem = "文件大于 64 KB";
    return outcome;
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (!IsSettingsText(text)) {
    outcome.refused = true;
    outcome.problem = "文件不是 UTF-8 文本";
    return outcome;
  }
  Settings& settings = outcome.settings;
  std::vector<std::string_view> seen;  // a name's first line holds, later ones are skipped
  WindowState last;
  bool anyLast = false;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::size_t equals = line.find('=');
    if (line.size() > kMaxLineBytes || equals == std::string_view::npos) continue;
    const std::string_view name = Trim(line.substr(0, equals));
    const std::string_view value = line.substr(equals + 1);
    if (name == kLeaveOut) {
      const std::string identity(value);
      if (IsWritableIdentity(identity) &&
          std::find(settings.displaysLeftOut.begin(), settings.displaysLeftOut.end(), identity) ==
              settings.displaysLeftOut.end()) {
        settings.displaysLeftOut.push_back(identity);
      }
      continue;
    }
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
    seen.push_back(name);
    if (name == kDarker || name == kBrighter) {
      (name == kDarker ? settings.darkerKey : settings.brighterKey) =
          Key(value).value_or(name == kDarker ? kDefaultDarkerKey : kDefaultBrighterKey);
    } else if (name == kBacklightFirst) {
      settings.backlightFirst = Flag(value).value_or(true);
    } else if (name == kRestoreAtStart) {
      settings.restoreAtStart = Flag(value).value_or(false);
    } else if (name == kIncludeInScreenshots) {
      settings.includeInScreenshots = Flag(value).value_or(false);
    } else if (name == kLastEnhance) {
      last.enhance = Flag(value).value_or(false);
      anyLast = true;
    } else {
      for (const StateField& field : kStateFields) {
        if (name != field.name) continue;
        const std::optional<std::int32_t> number = Integer(value);
        if (number && *number >= field.minimum && *number <= field.maximum) {
          last.*field.field = *number;
        }
        anyLast = true;
      }
    }
  }
  // One combination cannot be both keys.
  if (settings.darkerKey == settings.brighterKey) {
    settings.darkerKey = kDefaultDarkerKey;
    settings.brighterKey = kDefaultBrighterKey;
  }
  if (anyLast) settings.lastState = last;
  return outcome;
}

std::string WriteSettings(const Settings& settings) {
  std::string text{kHeader};
  const auto line = [&text](std::string_view name, std::string_view value) {
    text += name;
    text += '=';
    text += value;
    text += '\n';
  };
  const auto key = [](const KeyChoice& k) {
    return std::to_string(k.modifiers) + "," + std::to_string(k.virtualKey);
  };
  line(kDarker, key(settings.darkerKey));
  line(kBrighter, key(settings.brighterKey));
  line(kBacklightFirst, settings.backlightFirst ? "1" : "0");
  line(kRestoreAtStart, settings.restoreAtStart ? "1" : "0");
  line(kIncludeInScreenshots, settings.includeInScreenshots ? "1" : "0");
  for (const std::string& identity : settings.displaysLeftOut) {
    if (IsWritableIdentity(identity)) line(kLeaveOut, identity);
  }
  if (settings.lastState) {
    for (const StateField& field : kStateFields) {
      line(field.name, std::to_string((*settings.lastState).*field.field));
    }
    line(kLastEnhance, settings.lastState->enhance ? "1" : "0");
  }
  return text;
}

}  // namespace lumenor::settings
