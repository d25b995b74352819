#include "level/level_panel_layout.h"

#include <algorithm>
#include <cmath>

namespace lumenor::level {

platform::PixelRect PanelPlace(const platform::PixelRect& workArea, int width, int height,
                               int bottomGap) {
  width = std::min(width, workArea.Width());
  height = std::min(height, workArea.Height());
  const int left = workArea.left + (workArea.Width() - width) / 2;
  const int top = std::max(workArea.top, workArea.bottom - bottomGap - height);
  return {left, top, left + width, top + height};
}

BarLayout LayBar(const dimming::LevelReading& reading, const platform::PixelRect& bar) {
  // A fraction of the road to a column of the bar.
  const auto column = [&bar](double fraction) {
    return bar.left + static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * bar.Width()));
  };
  const int from = column(reading.backlightFrom);
  const int to = std::max(from, column(reading.backlightTo));
  BarLayout layout;
  layout.white = {bar.left, bar.top, from, bar.bottom};
  layout.backlight = {from, bar.top, to, bar.bottom};
  layout.black = {to, bar.top, bar.right, bar.bottom};
  layout.marker = std::clamp(column(reading.position), bar.left, bar.right - 1);
  return layout;
}

}  // namespace lumenor::level
