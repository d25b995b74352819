#pragma once
// A form's design as data: every row says what a control is (kind, id, text, place in twips, font,
// colours and what the core sees of it). The Win32 form makes, lays out and colours its controls
// from the rows (FormControls); nothing here is Windows'.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "app/main_window.h"

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

enum class FontRole : std::uint8_t {
  Main,
  CheckBox,
  Banner,
  Count  // not a role: how many there are
};
inline constexpr std::size_t kFontRoles = static_cast<std::size_t>(FontRole::Count);

// What the core sees of a control that is neither one of its sliders nor one of its value labels.
enum class ControlRole : std::uint8_t {
  None,
  Restore,
  Exit,
  HideToTray,
  Enhance,
  Darkness,
  DarkerHotkey,
  BrighterHotkey,
};

// What the core sees of a control: a role of its own, a slider or a value label. Each row names
// it, so the form finds a slider or a label by looking it up in the rows.
using Role = std::variant<ControlRole, Slider, ValueLabel>;

struct TwipsRect {
  int left, top, width, height;
};
struct TwipsPoint {
  int x, y;
};

// A colour as 0x00BBGGRR, the layout of the system's colour values.
using Colour = std::uint32_t;
constexpr Colour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 |
         static_cast<Colour>(blue) << 16;
}
// The system's own colour (no override).
inline constexpr Colour kSystemColour = 0xFFFFFFFF;

struct ControlDesign {
  int id = 0;
  ControlKind kind = ControlKind::Label;
  Role role = ControlRole::None;
  std::string_view text;
  TwipsRect twips{};     // relative to the client area, or to the frame when inFrame
  bool inFrame = false;  // a member of the frame
  FontRole font = FontRole::Main;
  Colour textColour = kSystemColour;
  Colour backColour = kSystemColour;
  std::span<const std::uint8_t> storedProperties{};  // a hotkey control's block of design data
};

struct FontDesign {
  std::string_view face;
  int points;
};

struct FormDesign {
  std::span<const ControlDesign> controls;   // in tab order, which is also the creation order
  TwipsPoint frameTwips;                     // the frame's top-left corner, for its members
  std::array<FontDesign, kFontRoles> fonts;  // by FontRole
};

}  // namespace lumenor::app
