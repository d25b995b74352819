#pragma once
// The main window's design data that is not layout: the stored property blocks of its two hotkey
// controls (Ctrl + Left and Ctrl + Right), in the settings bag's stored byte form.

#include <array>
#include <cstdint>

namespace lumenor::app {

extern const std::array<std::uint8_t, 152> kHotkeyLeftProperties;   // VBHotKeyleft
extern const std::array<std::uint8_t, 152> kHotkeyRightProperties;  // VBHotKeyright

}  // namespace lumenor::app
