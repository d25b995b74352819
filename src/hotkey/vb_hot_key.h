#pragma once
// VBHotKey: a child-window control that stands for one system-wide hotkey. Loaded in user mode it
// registers its combination for its own window, installs the hotkey dispatch on that window and
// files itself in HotkeyControls; each press of the combination then raises HotkeyPressed. Its
// properties are the four modifier flags, the key code and Enabled; it keeps them in its host's
// design data through a SettingsBag.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "hotkey/api_hotkey.h"
#include "hotkey/hotkey_subclass.h"
#include "hotkey/hotkey_values.h"
#include "hotkey/settings_bag.h"

namespace lumenor::hotkey {

// The control's fixed size in twips, each way.
inline constexpr std::int32_t kHotkeyControlSizeTwips = 450;

// What the control asks of the window that holds it.
class VBHotKeyHost {
 public:
  // True while the program runs, false in a form designer. Asked afresh each time.
  virtual bool InUserMode() = 0;
  // A property write changed a value; key is the property's stored key ("VKey", "Enabled", ...).
  virtual void MarkPropertyChanged(std::string_view key) = 0;
  // The control's own child window.
  virtual WindowHandle OwnWindow() = 0;
  // The control's size in twips.
  virtual std::int32_t WidthTwips() = 0;
  virtual std::int32_t HeightTwips() = 0;
  virtual void SetWidthTwips(std::int32_t twips) = 0;
  virtual void SetHeightTwips(std::int32_t twips) = 0;

 protected:
  ~VBHotKeyHost() = default;
};

class VBHotKey final : public HotkeyControl {
 public:
  VBHotKey(VBHotKeyHost& host, platform::HotkeyPlatform& hotkeys,
           platform::WindowProcedures& procedures);
  // A control still filed in HotkeyControls (OnDestroy never ran) takes itself out, so the
  // registry never reaches a destroyed control.
  ~VBHotKey();
  VBHotKey(const VBHotKey&) = delete;
  VBHotKey& operator=(const VBHotKey&) = delete;

  // Events, raised synchronously before the raising member goes on.
  std::function<void()> HotkeyPressed;
  std::function<void(const std::string& Message, const std::string& Source)> ErrorOccured;

  // Public members.
  std::int32_t About() const { return 0; }
  void About(std::int32_t /*dummy*/) {}
  void Enabled(TruthValue newvalue);
  TruthValue Enabled() const { return enabled_; }
  std::int32_t hAtom() const { return Record().hAtom(); }
  std::int32_t hKey() const { return Record().hKey(); }
  void RaiseKeyPressEvent(std::int32_t vKey, std::int32_t Modifier) override;
  void StopHotkey();
  std::string UniqueKey() const override { return Record().UniqueKey(); }
  TruthValue AltKey() const { return altKey_; }
  void AltKey(TruthValue New_AltKey);
  TruthValue ShiftKey() const { return shiftKey_; }
  void ShiftKey(TruthValue New_ShiftKey);
  TruthValue CtrlKey() const { return ctrlKey_; }
  TruthValue WinKey() const { return winKey_; }
  void CtrlKey(TruthValue New_CtrlKey);
  void WinKey(TruthValue New_WinKey);
  std::int32_t vKey() const { return vKey_; }
  void vKey(std::int32_t New_VKey);

  // Why the control's combination could not be registered, in the system's words, while that
  // failure stands; nothing while it is registered, not wanted, or the record is released. The
  // host asks after loading: the registration at load fails silently.
  std::optional<std::string> RegistrationFailure() const {
    return hotkeyRecord_ ? hotkeyRecord_->LastFailure() : std::nullopt;
  }

  // Internal members, for the dispatch and the hotkey record.
  WindowHandle hWnd() const override { return Record().hWnd(); }
  void RaiseError(const std::string& Message, const std::string& Source) override;

  // Lifecycle, called by the host.
  void OnCreate();
  void InitDefaults();
  void LoadProperties(const SettingsBag& bag);
  void OnResize();
  void SaveProperties(SettingsBag& bag) const;
  void OnDestroy();

 private:
  ApiHotkey& Record() const;
  template <typename T, typename RecordWrite>
  void WriteKeyProperty(T& field, T value, std::string_view key, RecordWrite recordWrite);

  VBHotKeyHost& host_;
  platform::HotkeyPlatform& hotkeys_;
  platform::WindowProcedures& procedures_;

  TruthValue altKey_ = kFalse;
  TruthValue shiftKey_ = kFalse;
  TruthValue ctrlKey_ = kFalse;
  std::int32_t vKey_ = 0;
  TruthValue winKey_ = kFalse;
  TruthValue enabled_ = kFalse;
  WindowHandle windowHandle_ = 0;
  std::unique_ptr<ApiHotkey> hotkeyRecord_;
};

}  // namespace lumenor::hotkey
