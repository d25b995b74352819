#include "app/hotkey_keys.h"

#include <optional>
#include <utility>

#include "app/notices.h"
#include "hotkey/vb_hot_key.h"

namespace lumenor::app {

namespace {

using settings::KeyChoice;

// How the design's banner names the default keys.
constexpr std::string_view kDefaultDarkerName = "ctrl+←";
constexpr std::string_view kDefaultBrighterName = "ctrl+→";

// Each write re-registers: the flags the new key has go first and the ones it lacks last, so no
// combination on the way lacks every modifier.
void WriteKey(hotkey::VBHotKey& control, const KeyChoice& key) {
  using Write = void (hotkey::VBHotKey::*)(hotkey::TruthValue);
  constexpr std::pair<std::int32_t, Write> kFlags[] = {
      {hotkey::kModControl, &hotkey::VBHotKey::CtrlKey},
      {hotkey::kModAlt, &hotkey::VBHotKey::AltKey},
      {hotkey::kModShift, &hotkey::VBHotKey::ShiftKey},
      {hotkey::kModWin, &hotkey::VBHotKey::WinKey}};
  for (const auto& [flag, write] : kFlags) {
    if (key.modifiers & flag) (control.*write)(hotkey::kTrue);
  }
  control.vKey(key.virtualKey);
  for (const auto& [flag, write] : kFlags) {
    if (!(key.modifiers & flag)) (control.*write)(hotkey::kFalse);
  }
}

bool Refused(const hotkey::VBHotKey& control) {
  return control.Enabled() != 0 && control.RegistrationFailure().has_value();
}

// Registers the control's key once more: the other control may have let it go since.
void RegisterAgain(hotkey::VBHotKey& control) {
  if (!Refused(control)) return;
  control.Enabled(hotkey::kFalse);
  control.Enabled(hotkey::kTrue);
}

}  // namespace

KeyChoice KeyOf(const hotkey::VBHotKey& control) {
  std::int32_t modifiers = 0;
  if (control.CtrlKey() != 0) modifiers |= hotkey::kModControl;
  if (control.AltKey() != 0) modifiers |= hotkey::kModAlt;
  if (control.ShiftKey() != 0) modifiers |= hotkey::kModShift;
  if (control.WinKey() != 0) modifiers |= hotkey::kModWin;
  return KeyChoice{modifiers, control.vKey()};
}

KeysInForce ChangeKeys(hotkey::VBHotKey& darker, hotkey::VBHotKey& brighter,
                       const KeyChoice& wantedDarker, const KeyChoice& wantedBrighter) {
  const KeyChoice oldDarker = KeyOf(darker);
  const KeyChoice oldBrighter = KeyOf(brighter);
  WriteKey(darker, wantedDarker);
  WriteKey(brighter, wantedBrighter);
  RegisterAgain(darker);
  KeysInForce result;
  for (auto [control, old] : {std::pair{&darker, oldDarker}, std::pair{&brighter, oldBrighter}}) {
    if (!Refused(*control)) continue;
    if (std::optional<std::string> taken = HotkeyTakenNotice(*control)) {
      if (!result.taken.empty()) result.taken += "\n";
      result.taken += *taken;
    }
    WriteKey(*control, old);
    RegisterAgain(*control);
  }
  result.darker = KeyOf(darker);
  result.brighter = KeyOf(brighter);
  return result;
}

std::string BannerText(std::string_view designText, const KeyChoice& darker,
                       const KeyChoice& brighter) {
  std::string text{designText};
  const auto name = [&text](std::string_view was, const KeyChoice& key, KeyChoice byDefault) {
    const std::size_t at = text.find(was);
    if (key == byDefault || at == std::string::npos) return;
    text.replace(at, was.size(), HotkeyName(key.modifiers, key.virtualKey));
  };
  name(kDefaultDarkerName, darker, settings::kDefaultDarkerKey);
  name(kDefaultBrighterName, brighter, settings::kDefaultBrighterKey);
  return text;
}

}  // namespace lumenor::app
