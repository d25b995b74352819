#include "settings/settings_file.h"

#include <algorithm>
#include <optional>
#include <iterator>
#include <utility>

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
constexpr std::string_view kShowLevel = "show_level";

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
// One line per display: its level, a comma, then its identity as it is.
constexpr std::string_view kLastBacklight = "last_backlight";
// Room on an identity's line for its name and a level.
constexpr std::size_t kLineRoomBeforeIdentity = 32;

std::string_view Trim(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// An optional minus and up to six digits: nothing in the file is larger.
std::optional<std::int32_t> Integer(std::string_view text) {
  text = Trim(text);
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 6) return std::nullopt;
  std::int32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

void AppendInteger(std::string& text, std::int32_t value) {
  if (value < 0) text += '-';
  char digits[12];
  int count = 0;
  auto magnitude = static_cast<std::uint32_t>(value < 0 ? -static_cast<std::int64_t>(value) : value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (count > 0) text += digits[--count];
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
  return !identity.empty() && identity.size() <= kMaxLineBytes - kLineRoomBeforeIdentity &&
         Trim(identity) == identity && IsSettingsText(identity) &&
         identity.find_first_of("\r\n") == std::string_view::npos;
}

// "70,<identity>": a level a monitor can report and an identity that goes on one line.
std::optional<std::pair<std::string_view, std::uint32_t>> Backlight(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::optional<std::int32_t> level = Integer(text.substr(0, comma));
  const std::string_view identity = text.substr(comma + 1);
  if (!level || *level < 0 || static_cast<std::uint32_t>(*level) > kHighestBacklight ||
      !IsWritableIdentity(identity)) {
    return std::nullopt;
  }
  return std::pair{identity, static_cast<std::uint32_t>(*level)};
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
  // The names that stand once, in this order: the keys, the options, then the window's state.
  constexpr std::string_view kOnce[] = {kDarker,
                                        kBrighter,
                                        kBacklightFirst,
                                        kRestoreAtStart,
                                        kIncludeInScreenshots,
                                        kShowLevel,
                                        kLastEnhance,
                                        kStateFields[0].name,
                                        kStateFields[1].name,
                                        kStateFields[2].name,
                                        kStateFields[3].name,
                                        kStateFields[4].name,
                                        kStateFields[5].name};
  static_assert(std::size(kStateFields) == 6);
  unsigned seen = 0;  // a name's first line holds, later ones are skipped
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
      auto& out = settings.displaysLeftOut;
      if (IsWritableIdentity(value) && std::find(out.begin(), out.end(), value) == out.end()) {
        out.emplace_back(value);
      }
      continue;
    }
    if (name == kLastBacklight) {
      // The first line of an identity holds.
      anyLast = true;
      const auto backlight = Backlight(value);
      auto& kept = last.backlights;
      if (backlight && std::none_of(kept.begin(), kept.end(), [&](const auto& earlier) {
            return earlier.first == backlight->first;
          })) {
        kept.emplace_back(backlight->first, backlight->second);
      }
      continue;
    }
    const std::size_t k = static_cast<std::size_t>(std::find(kOnce, std::end(kOnce), name) - kOnce);
    if (k == std::size(kOnce) || (seen & (1u << k)) != 0) continue;
    seen |= 1u << k;
    switch (k) {
      case 0:
        settings.darkerKey = Key(value).value_or(kDefaultDarkerKey);
        break;
      case 1:
        settings.brighterKey = Key(value).value_or(kDefaultBrighterKey);
        break;
      case 2:
        settings.backlightFirst = Flag(value).value_or(true);
        break;
      case 3:
        settings.restoreAtStart = Flag(value).value_or(false);
        break;
      case 4:
        settings.includeInScreenshots = Flag(value).value_or(false);
        break;
      case 5:
        settings.showLevel = Flag(value).value_or(true);
        break;
      case 6:
        last.enhance = Flag(value).value_or(false);
        anyLast = true;
        break;
      default: {
        const StateField& field = kStateFields[k - 7];
        const std::optional<std::int32_t> number = Integer(value);
        if (number && *number >= field.minimum && *number <= field.maximum) {
          last.*field.field = *number;
        }
        anyLast = true;
        break;
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
  const auto name = [&text](std::string_view n) {
    text += n;
    text += '=';
  };
  const auto number = [&](std::string_view n, std::int32_t value) {
    name(n);
    AppendInteger(text, value);
    text += '\n';
  };
  const auto key = [&](std::string_view n, const KeyChoice& k) {
    name(n);
    AppendInteger(text, k.modifiers);
    text += ',';
    AppendInteger(text, k.virtualKey);
    text += '\n';
  };
  key(kDarker, settings.darkerKey);
  key(kBrighter, settings.brighterKey);
  number(kBacklightFirst, settings.backlightFirst);
  number(kRestoreAtStart, settings.restoreAtStart);
  number(kIncludeInScreenshots, settings.includeInScreenshots);
  number(kShowLevel, settings.showLevel);
  for (const std::string& identity : settings.displaysLeftOut) {
    if (!IsWritableIdentity(identity)) continue;
    name(kLeaveOut);
    text += identity;
    text += '\n';
  }
  if (settings.lastState) {
    for (const StateField& field : kStateFields) number(field.name, (*settings.lastState).*field.field);
    number(kLastEnhance, settings.lastState->enhance);
    for (const auto& [identity, level] : settings.lastState->backlights) {
      if (!IsWritableIdentity(identity) || level > kHighestBacklight) continue;
      name(kLastBacklight);
      AppendInteger(text, static_cast<std::int32_t>(level));
      text += ',';
      text += identity;
      text += '\n';
    }
  }
  return text;
}

}  // namespace lumenor::settings
