#include "hotkey/api_hotkey.h"

#include <array>
#include <string>

#include "hotkey/hotkey_errors.h"
#include "hotkey/hotkey_subclass.h"

namespace lumenor::hotkey {

namespace {

constexpr std::size_t kAtomNameBuffer = 255;
constexpr const char* kRegisterSource = "ApiHotkey:Register";

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

TruthValue ApiHotkey::MatchedKey(const ApiHotkey& TestKey) const {
  const bool same = TestKey.AltKey() == AltKey() && TestKey.ControlKey() == ControlKey() &&
                    TestKey.ShiftKey() == ShiftKey() && TestKey.vKey() == vKey() &&
                    TestKey.WinKey() == WinKey();
  return same ? kTrue : kFalse;
}

std::string ApiHotkey::UniqueAtomName() const {
  std::string name;
  if (WinKey() != 0) name += "WIN+";
  if (ShiftKey() != 0) name += "SHIFT+";
  if (ControlKey() != 0) name += "CONTROL+";
  if (AltKey() != 0) name += "ALT+";
  // The "000" pattern: at least three digits, a minus sign in front of a negative code.
  // Formatted by hand: snprintf would link the C runtime's whole printf engine for this.
  const long long code = vKey_;
  std::string digits = std::to_string(code < 0 ? -code : code);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  if (code < 0) name += '-';
  name += digits;
  return name;
}

void ApiHotkey::ReadFromAtom(std::int32_t hAtom) {
  if (hAtom < INT16_MIN || hAtom > INT16_MAX) {
    throw OverflowError("atom " + std::to_string(hAtom) + " is outside 16 bits");
  }
  const auto atom = static_cast<std::uint16_t>(static_cast<std::int16_t>(hAtom));

  std::array<char, kAtomNameBuffer> buffer{};
  std::size_t length = platform_->GlobalAtomName(atom, buffer);
  if (length == 0) return;  // unreadable: no marker to find, and the key code stays as it was
  if (length > buffer.size()) length = buffer.size();
  const std::string_view name(buffer.data(), length);

  if (name.find("WIN+") != std::string_view::npos) WinKey(kTrue);
  if (name.find("SHIFT+") != std::string_view::npos) ShiftKey(kTrue);
  if (name.find("CONTROL+") != std::string_view::npos) ControlKey(kTrue);
  if (name.find("ALT+") != std::string_view::npos) AltKey(kTrue);

  const std::string code = "0" + std::string(name.substr(name.size() > 3 ? name.size() - 3 : 0));
  if (AllDigits(code)) vKey_ = std::stoi(code);
}

void ApiHotkey::Register() {
  if (hAtom_ != 0 && atomHeld_) {
    platform_->DeleteGlobalAtom(static_cast<std::uint16_t>(hAtom_));
    atomHeld_ = false;
  }
  const std::uint16_t atom = platform_->AddGlobalAtom(UniqueAtomName());
  hAtom_ = static_cast<std::int16_t>(atom);
  atomHeld_ = atom != 0;

  lastFailure_.reset();
  // From here on nothing goes to the caller.
  try {
    // A code left over from an earlier call must not pass for this registration's failure.
    platform_->SetLastErrorCode(0);
    hKey_ = platform_->RegisterHotkey(hWnd_, hAtom_, static_cast<std::uint32_t>(modifier_),
                                      static_cast<std::uint32_t>(vKey_));
    const bool reported = platform_->LastErrorCode() > 0;
    const std::string message = reported ? LastApiErrorText(*platform_) : std::string{};
    // Kept for the host, which cannot hear the failure of the registration at load.
    if (hKey_ == 0) lastFailure_ = message;
    if (reported) {
      HotkeyControl* control = HotkeyControls().Item(UniqueKey());
      control->RaiseError(message, kRegisterSource);
    }
  } catch (...) {
  }
}

void ApiHotkey::Unregister() {
  if (hKey_ != 0) {
    platform_->UnregisterHotkey(hWnd_, hAtom_);
  }
  // The atom is given back also when the registration had failed, so that no reference to it is
  // left behind; hAtom keeps its value either way.
  if (atomHeld_) {
    platform_->DeleteGlobalAtom(static_cast<std::uint16_t>(hAtom_));
    atomHeld_ = false;
  }
  hKey_ = 0;
  lastFailure_.reset();
}

std::string LastApiErrorText(platform::HotkeyPlatform& platform) {
  std::string text = platform.SystemMessageText(platform.LastErrorCode());
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace lumenor::hotkey
