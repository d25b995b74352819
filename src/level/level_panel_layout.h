#pragma once
// The level on screen's geometry, in physical pixels: where the panel stands on its display and how
// its bar shows the whole road. Platform-free, so the arithmetic is tested natively; the Win32
// panel (level_panel_win32.cpp) only draws what this gives.

#include "dimming/level_reading.h"
#include "platform/pixel_rect.h"

namespace lumenor::level {

// The panel at 96 DPI; scaled by the display's DPI.
inline constexpr int kPanelWidth = 220;
inline constexpr int kPanelHeight = 64;
// Between the panel's foot and the bottom of the work area: near the bottom, clear of the taskbar.
inline constexpr int kPanelBottomGap = 64;

// The panel centred across the work area (the display without the taskbar), bottomGap above its
// foot, and never outside it: a work area smaller than the panel gets the panel cut to its size.
platform::PixelRect PanelPlace(const platform::PixelRect& workArea, int width, int height,
                               int bottomGap);

// The bar of the whole road, from the white overlay at its most (left) through the backlights to
// the black overlay at its most (right): three stretches that tile the bar, and the marker's x.
struct BarLayout {
  platform::PixelRect white;
  platform::PixelRect backlight;  // empty (zero width) when no backlight is driven
  platform::PixelRect black;
  int marker = 0;  // within the bar: left <= marker < right
};
BarLayout LayBar(const dimming::LevelReading& reading, const platform::PixelRect& bar);

}  // namespace lumenor::level
