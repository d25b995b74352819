#include "app/notices.h"

#include "hotkey/vb_hot_key.h"

namespace lumenor::app {

namespace {

constexpr std::string_view kHotkeyTakenLead = "热键 ";
constexpr std::string_view kHotkeyTakenMiddle = " 已被其他程序占用：";

std::string KeyName(std::int32_t virtualKey) {
  switch (virtualKey) {
    case 37:
      return "←";
    case 38:
      return "↑";
    case 39:
      return "→";
    case 40:
      return "↓";
    default:
      break;
  }
  if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
    return std::string(1, static_cast<char>(virtualKey));
  }
  return std::to_string(virtualKey);
}

}  // namespace

std::string HotkeyName(std::int32_t modifiers, std::int32_t virtualKey) {
  std::string name;
  if (modifiers & hotkey::kModControl) name += "Ctrl+";
  if (modifiers & hotkey::kModAlt) name += "Alt+";
  if (modifiers & hotkey::kModShift) name += "Shift+";
  if (modifiers & hotkey::kModWin) name += "Win+";
  return name + KeyName(virtualKey);
}

std::optional<std::string> HotkeyTakenNotice(const hotkey::VBHotKey& control) {
  if (control.Enabled() == 0) return std::nullopt;
  std::optional<std::string> failure = control.RegistrationFailure();
  if (!failure) return std::nullopt;
  // The system ends its texts with a line break, which a balloon would show as an empty line.
  while (!failure->empty() &&
         (failure->back() == '\n' || failure->back() == '\r' || failure->back() == ' ')) {
    failure->pop_back();
  }
  std::int32_t modifiers = 0;
  if (control.CtrlKey() != 0) modifiers |= hotkey::kModControl;
  if (control.AltKey() != 0) modifiers |= hotkey::kModAlt;
  if (control.ShiftKey() != 0) modifiers |= hotkey::kModShift;
  if (control.WinKey() != 0) modifiers |= hotkey::kModWin;
  std::string text{kHotkeyTakenLead};
  text += HotkeyName(modifiers, control.vKey());
  text += kHotkeyTakenMiddle;
  text += *failure;
  return text;
}

}  // namespace lumenor::app
