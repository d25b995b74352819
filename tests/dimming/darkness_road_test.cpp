#include "dimming/darkness_road.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_backlight_targets.h"
#include "support/fake_overlay.h"

namespace lumenor::dimming {
namespace {

using testing::FakeBacklightTargets;
using testing::FakeOverlay;

DisplayAbility Driven(std::string identity, std::uint32_t level, std::uint32_t maximum = 100) {
  return {std::move(identity), true, BacklightAbility{maximum, level, level}};
}
DisplayAbility OverlayOnly(std::string identity) {
  return {std::move(identity), true, std::nullopt};
}

// Requests as they come from `source`: "L8 R3" is Ctrl+← eight times, then Ctrl+→ three times;
// "D-200" sets the darkness at -200, "B30" every backlight at 30 %.
void Press(DarknessRoad& road, const std::string& keys, Source source = Source::Key) {
  for (std::size_t i = 0; i < keys.size();) {
    const char key = keys[i++];
    const bool negative = i < keys.size() && keys[i] == '-';
    if (negative) ++i;
    int count = 0;
    while (i < keys.size() && keys[i] >= '0' && keys[i] <= '9') count = count * 10 + (keys[i++] - '0');
    if (key == 'D') road.Take({Request::Kind::SetDarkness, negative ? -count : count, source});
    if (key == 'B') road.Take({Request::Kind::SetBacklights, count, source});
    for (int n = 0; n < count; ++n) {
      if (key == 'L') road.Take({Request::Kind::StepDarker, 0, source});
      if (key == 'R') road.Take({Request::Kind::StepBrighter, 0, source});
    }
    while (i < keys.size() && keys[i] == ' ') ++i;
  }
}

// The level on screen: every reading it was told, in order.
struct FakeLevelDisplay : LevelDisplay {
  void ShowLevel(const LevelReading& reading) override { shown.push_back(reading); }
  std::vector<LevelReading> shown;
};

constexpr Source kEverySource[] = {Source::Key, Source::Wheel, Source::Command, Source::Window};

struct RoadCase {
  const char* name;
  std::vector<DisplayAbility> displays;
  std::optional<int> tickedAt;  // 加强 ticked and the thumb dragged there before the keys
  const char* keys;
  std::map<std::string, std::uint32_t> backlights;  // every driven display's target afterwards
  int bar;
  bool shows;
  std::optional<int> label;  // the value last applied to the overlay
  const char* level = nullptr;  // the level on screen last shown, when the row names it
};

// Every row is asked from each source in turn: the same plan whoever asked, and the level on
// screen after a key, the wheel or a command, never after the main window.
TEST(DarknessRoad_Steps, WalkTheBacklightsBetweenTheWhiteAndTheBlackOverlay) {
  const std::vector<RoadCase> cases = {
      {"one Ctrl+← lowers the backlight a tenth", {Driven("A", 80)}, {}, "L1", {{"A", 70}}, -121,
       false, {}, "背光 70%"},
      {"eight reach 0 and leave the bar", {Driven("A", 80)}, {}, "L8", {{"A", 0}}, -121, false, {}},
      {"the ninth ticks 加强 and shows -126", {Driven("A", 80)}, {}, "L9", {{"A", 0}}, -126, true,
       -126},
      {"then Ctrl+→ lightens the overlay", {Driven("A", 80)}, {}, "L9 R4", {{"A", 0}}, -106, true,
       -106},
      {"to -1", {Driven("A", 80)}, {}, "L9 R25", {{"A", 0}}, -1, true, -1},
      {"stops at a clear overlay", {Driven("A", 80)}, {}, "L9 R26", {{"A", 0}}, 0, true, 0},
      {"then raises the backlight", {Driven("A", 80)}, {}, "L9 R27", {{"A", 10}}, 0, true, 0},
      {"to its maximum, then the white overlay", {Driven("A", 80)}, {}, "L9 R36 R1", {{"A", 100}},
       5, true, 5, "白色遮罩 2%"},
      {"an unticked box is a clear overlay", {Driven("A", 50)}, {}, "R2", {{"A", 70}}, -121,
       false, {}},
      {"white stage steps down to 0 while a backlight is up", {Driven("A", 50)}, 7, "L2",
       {{"A", 50}}, 0, true, 0},
      {"then the backlight goes down", {Driven("A", 50)}, 7, "L3", {{"A", 40}}, 0, true, 0},
      {"a maximum other than 100 is honoured", {Driven("A", 255, 255)}, {}, "L1", {{"A", 229}},
       -121, false, {}},
      {"the step snaps at 0", {Driven("A", 5)}, {}, "L1", {{"A", 0}}, -121, false, {}},
      {"the step snaps at the maximum", {Driven("A", 95)}, {}, "R1", {{"A", 100}}, -121, false,
       {}},
      {"a display without backlight waits for the backlight stage",
       {Driven("A", 20), OverlayOnly("B")}, {}, "L2", {{"A", 0}}, -121, false, {}},
      {"and then gets the overlay", {Driven("A", 20), OverlayOnly("B")}, {}, "L3", {{"A", 0}},
       -126, true, -126},
      {"every backlight steps by its own range", {Driven("A", 80), Driven("B", 200, 200)}, {},
       "L1", {{"A", 70}, {"B", 180}}, -121, false, {}},
      {"the overlay waits for the last backlight", {Driven("A", 10), Driven("B", 200, 200)}, {},
       "L2", {{"A", 0}, {"B", 160}}, -121, false, {}},
      {"without a backlight: today's road", {OverlayOnly("A")}, {}, "L1", {}, -126, true, -126,
       "遮罩 49%"},
      {"a left-out display's backlight is not stepped",
       {{"A", false, BacklightAbility{100, 80, 80}}}, {}, "L1", {{"A", 80}}, -126, true, -126},
      {"at the dark end further presses stay", {Driven("A", 0)}, -250, "L3", {{"A", 0}}, -255,
       true, -255},
      {"a darkness set below 0 is the black overlay, 加强 ticked", {Driven("A", 80)}, {}, "D-200",
       {{"A", 80}}, -200, true, -200, "遮罩 78%"},
      {"a darkness set at 0 clears it and unticks 加强", {OverlayOnly("A")}, {}, "D-200 D0", {}, 0,
       false, 0, "遮罩 0%"},
      {"backlights set each at that share of its own range",
       {Driven("A", 80), Driven("B", 150, 200), OverlayOnly("C")}, {}, "B30",
       {{"A", 30}, {"B", 60}}, -121, false, {}, "背光 30%"},
  };
  for (const RoadCase& c : cases) {
    for (const Source source : kEverySource) {
      SCOPED_TRACE(c.name);
      SCOPED_TRACE("source " + std::to_string(static_cast<int>(source)));
      FakeOverlay overlay;
      FakeBacklightTargets targets;
      FakeLevelDisplay onScreen;
      DarknessRoad road(overlay, &targets);
      road.SetLevelDisplay(&onScreen);
      road.SetDisplays(c.displays);
      road.Load();
      if (c.tickedAt) {
        road.Take({Request::Kind::Enhance, 1, Source::Window});
        road.Take({Request::Kind::BarDragged, *c.tickedAt, Source::Window});
      }
      Press(road, c.keys, source);
      EXPECT_EQ(road.State().darkness, c.bar);
      EXPECT_EQ(overlay.showing, c.shows);
      EXPECT_EQ(road.State().enhance, c.shows);
      if (source == Source::Window) {
        EXPECT_TRUE(onScreen.shown.empty());
      } else {
        ASSERT_FALSE(onScreen.shown.empty());
        if (c.level != nullptr) {
          EXPECT_EQ(LevelText(onScreen.shown.back()), c.level);
        }
      }
      EXPECT_EQ(road.State().applied, c.label);
      // What the plan gives each display, and what the keepers were told last.
      std::map<std::string, std::uint32_t> planned;
      std::map<std::string, std::uint32_t> told;
      for (const DisplayAbility& d : c.displays) {
        if (d.backlight) told[d.identity] = d.backlight->level;
      }
      for (const auto& [identity, level] : targets.sent) told[identity] = level;
      const std::vector<DisplayPlan> plans = Plan(road.State(), road.Displays());
      ASSERT_EQ(plans.size(), c.displays.size());
      for (std::size_t i = 0; i < plans.size(); ++i) {
        if (plans[i].backlight) planned[plans[i].identity] = *plans[i].backlight;
        // A display left out keeps its overlay hidden.
        EXPECT_EQ(plans[i].overlay, c.shows && c.displays[i].included) << plans[i].identity;
      }
      EXPECT_EQ(planned, c.backlights);
      EXPECT_EQ(told, c.backlights);
    }
  }
}

TEST(DarknessRoad_Steps, AMonitorGivenUpMidRoadLeavesTheNextStepToTheOverlay) {
  FakeOverlay overlay;
  FakeBacklightTargets targets;
  DarknessRoad road(overlay, &targets);
  road.SetDisplays({Driven("A", 80)});
  road.Load();
  Press(road, "L4");
  road.SetDisplays({OverlayOnly("A")});
  const std::size_t sent = targets.sent.size();
  Press(road, "L1");
  EXPECT_EQ(road.State().darkness, -126);
  EXPECT_TRUE(overlay.showing);
  EXPECT_EQ(targets.sent.size(), sent);
}

TEST(DarknessRoad_Steps, WithTheBacklightStageOffTheRoadIsTheOverlaysAndBacklightsStay) {
  FakeOverlay overlay;
  FakeBacklightTargets targets;
  DarknessRoad road(overlay, &targets);
  road.SetDisplays({Driven("A", 80)});
  road.Load();
  road.ReadBacklightFirstFrom([] { return false; });
  Press(road, "L1 R1 R1");
  EXPECT_EQ(road.State().darkness, -116);
  EXPECT_TRUE(targets.sent.empty());
}

TEST(DarknessRoad_Restore, BringsBackEachFirstReadLevelAndAClearOverlay) {
  FakeOverlay overlay;
  FakeBacklightTargets targets;
  DarknessRoad road(overlay, &targets);
  // B answered at 60 when first seen; it has been confirmed at 30 since.
  road.SetDisplays({Driven("A", 80), {"B", true, BacklightAbility{100, 30, 60}}, OverlayOnly("C")});
  road.Load();
  Press(road, "L12");
  road.Take({Request::Kind::Restore, 0, Source::Window});
  EXPECT_EQ(road.State().darkness, 0);
  EXPECT_EQ(road.State().applied, 0);
  std::map<std::string, std::uint32_t> told;
  for (const auto& [identity, level] : targets.sent) told[identity] = level;
  EXPECT_EQ(told, (std::map<std::string, std::uint32_t>{{"A", 80}, {"B", 60}}));
}

TEST(DarknessRoad_Displays, AMonitorAnsweringLaterOrReadAnewGoesOnFromWhereItIs) {
  FakeOverlay overlay;
  FakeBacklightTargets targets;
  DarknessRoad road(overlay, &targets);
  road.SetDisplays({OverlayOnly("A")});
  road.Load();
  road.SetDisplays({Driven("A", 65)});
  road.SetDisplays({Driven("A", 65)});
  EXPECT_TRUE(targets.sent.empty());
  Press(road, "L1");
  ASSERT_EQ(targets.sent.size(), 1u);
  EXPECT_EQ(targets.sent.back().second, 55u);
  road.SetDisplays({{"A", true, BacklightAbility{100, 30, 65}}});  // set on the monitor itself
  Press(road, "L1");
  EXPECT_EQ(targets.sent.back().second, 20u);
}

TEST(DarknessRoad_RestoreBacklights, EachDisplayTakesItsKeptLevelOnceWhenFirstKnown) {
  // Kept: A at 30, B at 250 (its maximum is 200), D not attached; C has no kept level.
  using Sent = std::vector<std::pair<std::string, std::uint32_t>>;
  const Sent restored = {{"A", 30}, {"B", 200}};
  const struct { const char* name; bool keptFirst; bool backlightFirst; Sent sent; } cases[] = {
      {"kept before the monitors answer", true, true, restored},
      {"kept after the monitors answered", false, true, restored},
      {"the backlight stage off", true, false, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeOverlay overlay;
    FakeBacklightTargets targets;
    DarknessRoad road(overlay, &targets);
    const bool backlightFirst = c.backlightFirst;
    road.ReadBacklightFirstFrom([backlightFirst] { return backlightFirst; });
    road.Load();
    const std::vector<DisplayAbility> answered = {Driven("A", 80), Driven("B", 150, 200),
                                                  Driven("C", 60)};
    if (c.keptFirst) road.RestoreBacklights({{"A", 30}, {"B", 250}, {"D", 40}});
    road.SetDisplays(answered);
    if (!c.keptFirst) road.RestoreBacklights({{"A", 30}, {"B", 250}, {"D", 40}});
    // Given up and back, A goes on from where it is.
    road.SetDisplays({OverlayOnly("A"), answered[1], answered[2]});
    road.SetDisplays(answered);
    EXPECT_EQ(targets.sent, c.sent);
    EXPECT_EQ(*road.State().Target("A"), 80u);
  }
}

TEST(DarknessRoad_SetBacklights, AMonitorAnsweringAfterTheRequestTakesItsPercentUnlessAnotherCame) {
  // A answered before the request, B (maximum 200) answers after it.
  using Sent = std::vector<std::pair<std::string, std::uint32_t>>;
  const struct { const char* name; std::optional<Request::Kind> between; Sent sent; } cases[] = {
      {"nothing else asked", std::nullopt, {{"A", 30}, {"B", 60}}},
      {"a step asked since", Request::Kind::StepBrighter, {{"A", 30}, {"A", 40}}},
      {"the restore asked since", Request::Kind::Restore, {{"A", 30}, {"A", 80}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeOverlay overlay;
    FakeBacklightTargets targets;
    DarknessRoad road(overlay, &targets);
    road.Load();
    road.SetDisplays({Driven("A", 80), OverlayOnly("B")});
    road.Take({Request::Kind::SetBacklights, 30, Source::Command});
    if (c.between) road.Take({*c.between, 0, Source::Command});
    road.SetDisplays({Driven("A", 80), Driven("B", 150, 200)});
    road.SetDisplays({Driven("A", 80), OverlayOnly("B")});  // given up and back: no second time
    road.SetDisplays({Driven("A", 80), Driven("B", 150, 200)});
    EXPECT_EQ(targets.sent, c.sent);
  }
}

}  // namespace
}  // namespace lumenor::dimming
