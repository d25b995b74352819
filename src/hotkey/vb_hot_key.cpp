#include "hotkey/vb_hot_key.h"

#include "hotkey/hotkey_errors.h"

namespace lumenor::hotkey {

namespace {

// Stored keys and defaults of the six properties.
constexpr std::string_view kAltKey = "AltKey";
constexpr std::string_view kShiftKey = "ShiftKey";
constexpr std::string_view kCtrlKey = "CtrlKey";
constexpr std::string_view kVKey = "VKey";
constexpr std::string_view kWinKey = "WinKey";
constexpr std::string_view kEnabled = "Enabled";

constexpr TruthValue kDefaultAltKey = kFalse;
constexpr TruthValue kDefaultShiftKey = kFalse;
constexpr TruthValue kDefaultCtrlKey = kFalse;
constexpr std::int32_t kDefaultVKey = 65;
constexpr TruthValue kDefaultWinKey = kTrue;
constexpr TruthValue kDefaultEnabled = kTrue;

}  // namespace

VBHotKey::VBHotKey(VBHotKeyHost& host, platform::HotkeyPlatform& hotkeys,
                   platform::WindowProcedures& procedures)
    : host_(host), hotkeys_(hotkeys), procedures_(procedures) {}

VBHotKey::~VBHotKey() {
  if (!HotkeyControlsExist()) return;
  auto& controls = HotkeyControls();
  for (std::size_t i = controls.Count(); i >= 1; --i) {
    if (controls.Item(i) == this) controls.Remove(std::string(controls.KeyAt(i)));
  }
}

ApiHotkey& VBHotKey::Record() const {
  if (!hotkeyRecord_) throw ObjectNotSetError();
  return *hotkeyRecord_;
}

void VBHotKey::Enabled(TruthValue newvalue) {
  const TruthValue v = ToTruth(newvalue);
  if (v == enabled_) return;
  enabled_ = v;
  host_.MarkPropertyChanged(kEnabled);
  if (v != 0) {
    Record().Register();
  } else {
    Record().Unregister();
  }
}

void VBHotKey::RaiseKeyPressEvent(std::int32_t vKey, std::int32_t Modifier) {
  ApiHotkey pressed(hotkeys_);
  pressed.vKey(vKey);
  pressed.Modifier(Modifier);
  if (enabled_ != 0 && Record().MatchedKey(pressed) != 0) {
    if (HotkeyPressed) HotkeyPressed();
  }
}

void VBHotKey::StopHotkey() {
  if (windowHandle_ == 0) return;
  UnsubclassWindow(procedures_, windowHandle_);
  if (hotkeyRecord_) {
    hotkeyRecord_->Unregister();
    hotkeyRecord_.reset();
  }
}

// A key property write: a changed value is stored and reported; once a registration has been
// attempted (hAtom non-zero) in user mode, the record is unregistered, given the value and
// registered again.
template <typename T, typename RecordWrite>
void VBHotKey::WriteKeyProperty(T& field, T value, std::string_view key, RecordWrite recordWrite) {
  if (value == field) return;
  field = value;
  host_.MarkPropertyChanged(key);
  if (host_.InUserMode() && hAtom() != 0) {
    ApiHotkey& record = Record();
    record.Unregister();
    recordWrite(record, value);
    record.Register();
  }
}

void VBHotKey::AltKey(TruthValue New_AltKey) {
  WriteKeyProperty(altKey_, ToTruth(New_AltKey), kAltKey,
                   [](ApiHotkey& r, TruthValue v) { r.AltKey(v); });
}

void VBHotKey::ShiftKey(TruthValue New_ShiftKey) {
  WriteKeyProperty(shiftKey_, ToTruth(New_ShiftKey), kShiftKey,
                   [](ApiHotkey& r, TruthValue v) { r.ShiftKey(v); });
}

void VBHotKey::CtrlKey(TruthValue New_CtrlKey) {
  WriteKeyProperty(ctrlKey_, ToTruth(New_CtrlKey), kCtrlKey,
                   [](ApiHotkey& r, TruthValue v) { r.ControlKey(v); });
}

void VBHotKey::WinKey(TruthValue New_WinKey) {
  WriteKeyProperty(winKey_, ToTruth(New_WinKey), kWinKey,
                   [](ApiHotkey& r, TruthValue v) { r.WinKey(v); });
}

void VBHotKey::vKey(std::int32_t New_VKey) {
  WriteKeyProperty(vKey_, New_VKey, kVKey, [](ApiHotkey& r, std::int32_t v) { r.vKey(v); });
}

void VBHotKey::RaiseError(const std::string& Message, const std::string& Source) {
  if (ErrorOccured) ErrorOccured(Message, Source);
}

void VBHotKey::OnCreate() {
  hotkeyRecord_ = std::make_unique<ApiHotkey>(hotkeys_);
}

void VBHotKey::InitDefaults() {
  altKey_ = kDefaultAltKey;
  shiftKey_ = kDefaultShiftKey;
  ctrlKey_ = kDefaultCtrlKey;
  vKey_ = kDefaultVKey;
  winKey_ = kDefaultWinKey;
  enabled_ = kDefaultEnabled;
}

void VBHotKey::LoadProperties(const SettingsBag& bag) {
  altKey_ = bag.ReadValue(kAltKey, BagValue::Boolean(kDefaultAltKey)).ToBoolean();
  shiftKey_ = bag.ReadValue(kShiftKey, BagValue::Boolean(kDefaultShiftKey)).ToBoolean();
  ctrlKey_ = bag.ReadValue(kCtrlKey, BagValue::Boolean(kDefaultCtrlKey)).ToBoolean();
  vKey_ = bag.ReadValue(kVKey, BagValue::Long(kDefaultVKey)).ToLong();
  winKey_ = bag.ReadValue(kWinKey, BagValue::Boolean(kDefaultWinKey)).ToBoolean();
  enabled_ = bag.ReadValue(kEnabled, BagValue::Boolean(kDefaultEnabled)).ToBoolean();

  if (!host_.InUserMode()) return;
  const WindowHandle window = host_.OwnWindow();
  if (window <= 0) return;
  windowHandle_ = window;

  ApiHotkey& record = Record();
  record.AltKey(altKey_);
  record.ShiftKey(shiftKey_);
  record.ControlKey(ctrlKey_);
  record.WinKey(winKey_);
  record.vKey(vKey_);
  record.hWnd(windowHandle_);

  if (enabled_ != 0) record.Register();
  SubclassWindow(procedures_, windowHandle_);
  HotkeyControls().Add(record.UniqueKey(), this);
}

void VBHotKey::OnResize() {
  if (host_.WidthTwips() != kHotkeyControlSizeTwips) host_.SetWidthTwips(kHotkeyControlSizeTwips);
  if (host_.HeightTwips() != kHotkeyControlSizeTwips) {
    host_.SetHeightTwips(kHotkeyControlSizeTwips);
  }
}

void VBHotKey::SaveProperties(SettingsBag& bag) const {
  bag.WriteValue(kAltKey, BagValue::Boolean(altKey_), BagValue::Boolean(kDefaultAltKey));
  bag.WriteValue(kShiftKey, BagValue::Boolean(shiftKey_), BagValue::Boolean(kDefaultShiftKey));
  bag.WriteValue(kCtrlKey, BagValue::Boolean(ctrlKey_), BagValue::Boolean(kDefaultCtrlKey));
  bag.WriteValue(kVKey, BagValue::Long(vKey_), BagValue::Long(kDefaultVKey));
  bag.WriteValue(kWinKey, BagValue::Boolean(winKey_), BagValue::Boolean(kDefaultWinKey));
  bag.WriteValue(kEnabled, BagValue::Boolean(enabled_), BagValue::Boolean(kDefaultEnabled));
}

void VBHotKey::OnDestroy() {
  Enabled(kFalse);
  StopHotkey();
}

}  // namespace lumenor::hotkey
