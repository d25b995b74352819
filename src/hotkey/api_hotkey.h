#pragma once
// ApiHotkey: the record of one system-wide hotkey: its modifier flags and key code, the window
// that receives WM_HOTKEY, the global atom that names the combination and serves as the hotkey's
// identifier, and the outcome of the last registration. Creating or discarding a record registers
// and unregisters nothing.

#include <cstdint>
#include <optional>
#include <string>

#include "hotkey/hotkey_values.h"
#include "platform/hotkey_platform.h"

namespace lumenor::hotkey {

class ApiHotkey {
 public:
  explicit ApiHotkey(platform::HotkeyPlatform& platform) : platform_(&platform) {}

  // The four flags are views of single bits of Modifier: Alt 1, Control 2, Shift 4, Windows 8.
  void AltKey(TruthValue value) { SetFlag(kModAlt, value); }
  TruthValue AltKey() const { return Flag(kModAlt); }
  void ControlKey(TruthValue value) { SetFlag(kModControl, value); }
  TruthValue ControlKey() const { return Flag(kModControl); }

  // The atom added by the last Register, signed 16-bit widened; 0 before the first Register. It
  // keeps its value after Unregister has released the atom.
  std::int32_t hAtom() const { return hAtom_; }
  // The result of the last registration call: non-zero while registered.
  std::int32_t hKey() const { return hKey_; }
  // Why the last Register failed, in the system's words (empty when the system gave no reason),
  // until the next Register or Unregister; nothing while the registration stands or none failed.
  const std::optional<std::string>& LastFailure() const { return lastFailure_; }

  WindowHandle hWnd() const { return hWnd_; }
  void hWnd(WindowHandle newHwnd) { hWnd_ = newHwnd; }

  std::int32_t Key() const { return hKey_; }

  // True when Alt, Control, Shift, Windows key and the key code all equal those of TestKey.
  TruthValue MatchedKey(const ApiHotkey& TestKey) const;

  std::int32_t Modifier() const { return modifier_; }
  void Modifier(std::int32_t value) { modifier_ = value; }

  // The window key of the record's window: "hwnd:" and the handle in decimal.
  std::string UniqueKey() const { return WindowKey(hWnd_); }

  // Sets the flags named in the atom's name and the key code from its last three characters. An
  // atom outside the signed 16-bit range fails with OverflowError. An unreadable atom changes
  // nothing.
  void ReadFromAtom(std::int32_t hAtom);

  // Releases the atom still held from the previous Register, adds the atom of the combination and
  // registers the hotkey under it. A failure is reported to the control filed under UniqueKey.
  void Register();

  void ShiftKey(TruthValue value) { SetFlag(kModShift, value); }
  TruthValue ShiftKey() const { return Flag(kModShift); }

  // "WIN+", "SHIFT+", "CONTROL+", "ALT+" for the bits set, then the key code in at least three
  // digits: "CONTROL+037".
  std::string UniqueAtomName() const;

  // Ends the registration and gives the atom back.
  void Unregister();

  void vKey(std::int32_t value) { vKey_ = value; }
  std::int32_t vKey() const { return vKey_; }

  void WinKey(TruthValue value) { SetFlag(kModWin, value); }
  TruthValue WinKey() const { return Flag(kModWin); }

 private:
  TruthValue Flag(std::int32_t bit) const { return ToTruth(modifier_ & bit); }
  void SetFlag(std::int32_t bit, TruthValue value) {
    modifier_ = value != 0 ? (modifier_ | bit) : (modifier_ & ~bit);
  }

  platform::HotkeyPlatform* platform_;
  std::int32_t modifier_ = 0;
  std::int32_t vKey_ = 0;
  WindowHandle hWnd_ = 0;
  std::int32_t hAtom_ = 0;
  std::int32_t hKey_ = 0;
  bool atomHeld_ = false;  // hAtom_ names an atom this record added and has not deleted
  std::optional<std::string> lastFailure_;
};

// The system's text for the thread's last-error code, blanks at either end removed (the line
// break at its end stays).
std::string LastApiErrorText(platform::HotkeyPlatform& platform);

}  // namespace lumenor::hotkey
