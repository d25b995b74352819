#pragma once
// Form1's design: its caption, its client area's place on the screen, the row of every control (in
// twips, 1/1440 inch) and the stored property blocks of its two hotkey controls (Ctrl + Left and
// Ctrl + Right) in the settings bag's stored byte form.

#include <array>
#include <cstdint>
#include <string_view>

#include "app/form_design.h"

namespace lumenor::app {

inline constexpr std::string_view kMainWindowCaption = "显示器极限亮度调节-Tandwin增强版";
inline constexpr TwipsRect kMainWindowClientTwips{5175, 1560, 6300, 6150};  // on the screen

extern const FormDesign kMainWindowDesign;

extern const std::array<std::uint8_t, 152> kHotkeyLeftProperties;   // VBHotKeyleft
extern const std::array<std::uint8_t, 152> kHotkeyRightProperties;  // VBHotKeyright

}  // namespace lumenor::app
