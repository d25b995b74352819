#pragma once
// The ranges and neutral values of the main window's sliders and of the darkness bar, owned here
// once: the start-up, the restore, the hotkey steps and the window's controls all read them.

namespace lumenor::app {

struct ValueRange {
  int minimum;
  int maximum;
  int neutral;
};

inline constexpr ValueRange kBrightnessRange{-50, 50, 0};  // Slider1
inline constexpr ValueRange kContrastRange{1, 300, 100};   // Slider2
inline constexpr ValueRange kColourRange{-50, 50, 0};      // Slider3(0 … 2)
// HScroll_setblack: negative is a black overlay, positive a white one, the magnitude its opacity.
inline constexpr ValueRange kDarknessRange{-255, 255, 0};
inline constexpr int kDarknessAtStart = -121;

}  // namespace lumenor::app
