// The level panel's place and bar, checked against what they promise (centred near the foot of
// the work area and inside it; stretches that tile the bar in the reading's proportions; the marker
// at the reading's position) rather than against numbers re-typed from the code.
#include "level/level_panel_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lumenor::level {
namespace {

using platform::PixelRect;

TEST(LevelPanelLayout_PanelPlace, CentredNearTheFootOfTheWorkAreaAndInsideIt) {
  const struct {
    const char* name;
    PixelRect area;
  } rows[] = {{"primary above a taskbar", {0, 0, 1280, 770}},
              {"second display to the right", {1280, 0, 2304, 768}},
              {"display left of and above the primary", {-1024, -300, 0, 468}},
              {"a work area smaller than the panel", {10, 20, 110, 70}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const PixelRect place = PanelPlace(row.area, 220, 64, 64);
    EXPECT_LE(row.area.left, place.left);
    EXPECT_LE(place.right, row.area.right);
    EXPECT_LE(row.area.top, place.top);
    EXPECT_LE(place.bottom, row.area.bottom);
    EXPECT_LE(std::abs((place.left - row.area.left) - (row.area.right - place.right)), 1);
    const bool fits = row.area.Width() >= 220 && row.area.Height() >= 64 + 64;
    if (fits) {
      EXPECT_EQ(place.Width(), 220);
      EXPECT_EQ(place.Height(), 64);
      EXPECT_EQ(place.bottom, row.area.bottom - 64);
    }
  }
}

TEST(LevelPanelLayout_LayBar, StretchesTileTheBarInProportionAndTheMarkerStandsAtThePosition) {
  const struct {
    const char* name;
    dimming::LevelReading reading;
    PixelRect bar;
  } rows[] = {
      {"white overlay at its most",
       {.position = 0, .backlightFrom = 0.5, .backlightTo = 0.5},
       {14, 40, 206, 48}},
      {"black overlay at its most",
       {.position = 1, .backlightFrom = 0.5, .backlightTo = 0.5},
       {14, 40, 206, 48}},
      {"overlay alone at 126",
       {.position = 381.0 / 510, .backlightFrom = 0.5, .backlightTo = 0.5},
       {14, 40, 206, 48}},
      {"backlight at 70%",
       {.position = 0.45, .backlightFrom = 0.35, .backlightTo = 0.65},
       {28, 80, 412, 96}},
      {"bar on a display left of the primary",
       {.position = 0.7, .backlightFrom = 0.3, .backlightTo = 0.6},
       {-600, 10, -408, 18}},
      {"a position beyond the road",
       {.position = 1.25, .backlightFrom = 0.4, .backlightTo = 0.6},
       {0, 0, 100, 8}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const BarLayout layout = LayBar(row.reading, row.bar);
    const int width = row.bar.Width();
    EXPECT_EQ(layout.white.left, row.bar.left);
    EXPECT_EQ(layout.white.right, layout.backlight.left);
    EXPECT_EQ(layout.backlight.right, layout.black.left);
    EXPECT_EQ(layout.black.right, row.bar.right);
    for (const PixelRect& stretch : {layout.white, layout.backlight, layout.black}) {
      EXPECT_EQ(stretch.top, row.bar.top);
      EXPECT_EQ(stretch.bottom, row.bar.bottom);
    }
    EXPECT_NEAR(layout.white.Width(), row.reading.backlightFrom * width, 0.5);
    EXPECT_NEAR(layout.backlight.Width(),
                (row.reading.backlightTo - row.reading.backlightFrom) * width, 1.0);
    const double position = row.reading.position > 1 ? 1 : row.reading.position;
    EXPECT_NEAR(layout.marker, row.bar.left + position * width, 1.0);
    EXPECT_LE(row.bar.left, layout.marker);
    EXPECT_LT(layout.marker, row.bar.right);
  }
}

}  // namespace
}  // namespace lumenor::level
