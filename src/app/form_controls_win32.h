#pragma once
// The controls of a form made from one design table: every row says what a control is (kind, id,
// text, place in twips, font, colours and the role it plays for the core), and creation, layout at
// any DPI, fonts and colours are each one loop over the rows.

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "app/slider_win32.h"
#include "hotkey/hotkey_control_win32.h"
#include "platform/handles_win32.h"

namespace lumenor::app {

enum class ControlKind : std::uint8_t {
  Button,
  CheckBox,
  Frame,
  Label,
  ScrollBar,
  Slider,
  Picture,  // windowless: painted by the form under every control
  Hotkey,   // a hotkey control: paints nothing and sizes itself
};

enum class FontRole : std::uint8_t { Main, CheckBox, Banner };

// What the core sees of a control. Sliders and value labels follow the order of app::Slider and
// app::ValueLabel.
enum class ControlRole : std::uint8_t {
  None,
  Restore,
  Exit,
  HideToTray,
  Enhance,
  Darkness,
  BrightnessSlider,
  ContrastSlider,
  RedSlider,
  GreenSlider,
  BlueSlider,
  BrightnessLabel,
  ContrastLabel,
  DarknessLabel,
  DarkerHotkey,
  BrighterHotkey,
};
inline constexpr std::size_t kControlRoleCount = 16;

constexpr Slider SliderOf(ControlRole role) {
  return static_cast<Slider>(static_cast<int>(role) -
                             static_cast<int>(ControlRole::BrightnessSlider));
}
constexpr ControlRole RoleOf(Slider slider) {
  return static_cast<ControlRole>(static_cast<int>(ControlRole::BrightnessSlider) +
                                  static_cast<int>(slider));
}
constexpr ControlRole RoleOf(ValueLabel label) {
  return static_cast<ControlRole>(static_cast<int>(ControlRole::BrightnessLabel) +
                                  static_cast<int>(label));
}
constexpr bool IsSlider(ControlRole role) {
  return role >= ControlRole::BrightnessSlider && role <= ControlRole::BlueSlider;
}

struct TwipsRect {
  int left, top, width, height;
};
// The pixels of a place in twips at a DPI.
RECT PixelRectOf(const TwipsRect& twips, UINT dpi);

// The system's own colour (no override).
inline constexpr COLORREF kSystemColour = CLR_INVALID;

struct ControlDesign {
  int id = 0;
  ControlKind kind = ControlKind::Label;
  ControlRole role = ControlRole::None;
  std::string_view text;
  TwipsRect twips{};     // relative to the client area, or to the frame when inFrame
  bool inFrame = false;  // a member of the frame
  FontRole font = FontRole::Main;
  COLORREF textColour = kSystemColour;
  COLORREF backColour = kSystemColour;
  std::span<const std::uint8_t> storedProperties{};  // a hotkey control's block of design data
};

struct FontDesign {
  std::wstring_view face;
  int points;
};

struct FormDesign {
  std::span<const ControlDesign> controls;  // in tab order, which is also the creation order
  POINT frameTwips;                         // the frame's top-left corner, for its members
  std::array<FontDesign, 3> fonts;          // by FontRole
};

class FormControls {
 public:
  struct Events {
    std::function<void(Slider)> sliderScrolled;
    std::function<void(Slider)> sliderChanged;
    std::function<void(ControlRole)> hotkeyPressed;  // DarkerHotkey or BrighterHotkey
  };

  FormControls(HWND form, const FormDesign& design, Events events);
  ~FormControls();
  FormControls(const FormControls&) = delete;
  FormControls& operator=(const FormControls&) = delete;

  // Every window control of the design, hidden hotkey controls excluded, at the given DPI.
  void CreateControls(UINT dpi);
  // The hotkey controls: they register their keys when they load, and release them when destroyed,
  // which the form does first when it unloads.
  void CreateHotkeyControls();
  void DestroyHotkeyControls() { hotkeys_.clear(); }
  // The hotkey controls created, in design order.
  std::vector<const hotkey::VBHotKey*> HotkeyControls() const;
  // Places every control and gives it its font for the DPI.
  void LayOut(UINT dpi);

  HWND Control(ControlRole role) const;
  SliderControl& SliderFor(Slider slider) const;
  const ControlDesign* DesignOf(HWND control) const;
  const ControlDesign* DesignOf(int id) const;
  // The pixels of a design row at the DPI last laid out.
  RECT PixelRect(const ControlDesign& design) const;

  // WM_CTLCOLORSTATIC for a control with colours of its own: sets them on the DC and returns its
  // brush; null for a control with the system's colours.
  HBRUSH ColourStatic(HWND control, HDC dc) const;

 private:
  HWND CreateWindowControl(const ControlDesign& design);
  void CreateSlider(const ControlDesign& design);

  HWND form_;
  FormDesign design_;
  Events events_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  std::array<HWND, kControlRoleCount> byRole_{};
  std::array<platform::UniqueFont, 3> fonts_;
  std::vector<platform::UniqueBrush> brushes_;  // by design row; null for the system's colours
  std::array<std::unique_ptr<SliderControl>, 5> sliders_;  // by app::Slider
  std::vector<std::unique_ptr<hotkey::HotkeyControlWindow>> hotkeys_;
};

}  // namespace lumenor::app
