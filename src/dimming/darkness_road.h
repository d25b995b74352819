#pragma once
// The darkness road, from brightest to darkest: the white overlay (加强 ticked, bar above 0), each
// monitor's own backlight from its maximum down to 0, then the black overlay (bar below 0). The
// hotkeys walk it a step at a time and never jump a stage; dragging the bar and clicking 加强 act
// on the overlay alone. One object owns the road for the whole run (it outlives every load of the
// main window, as the ramps do). Every way in is a Request through Take; after each, the plan of
// the state it left moves what differs: the overlays, the backlights, the main window's bar, label
// and box, and the level on screen. None of them keeps a copy of the road's state.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dimming/darkness_bar.h"
#include "dimming/level_reading.h"
#include "dimming/road_request.h"
#include "overlay/overlay_control.h"

namespace lumenor::dimming {

// A display's backlight that Lumenor drives: the monitor answered, and has not failed since.
struct BacklightAbility {
  std::uint32_t maximum = 100;   // as the monitor reports it
  std::uint32_t level = 0;       // as last read or confirmed
  std::uint32_t firstLevel = 0;  // as first read in this run: "恢复默认" brings it back
  friend bool operator==(const BacklightAbility&, const BacklightAbility&) = default;
};

// One display attached, and what the road can do with it.
struct DisplayAbility {
  std::string identity;
  bool included = true;
  std::optional<BacklightAbility> backlight;  // empty: the overlay is all it has
  friend bool operator==(const DisplayAbility&, const DisplayAbility&) = default;
};

struct RoadState {
  int darkness = kDarknessAtStart;  // the darkness bar
  bool enhance = false;             // 加强
  bool overlayShowing = false;
  std::optional<int> applied;   // the value the overlay's update applied last: the label
  std::optional<int> coloured;  // the value applied last that set a colour (0 keeps it)
  // Each driven display's backlight target, by identity (a handful of displays: a plain list).
  using Backlights = std::vector<std::pair<std::string, std::uint32_t>>;
  Backlights backlights;

  std::uint32_t* Target(const std::string& identity);
  const std::uint32_t* Target(const std::string& identity) const;
};

// What one display gets.
struct DisplayPlan {
  std::string identity;
  std::optional<std::uint32_t> backlight;  // the level to keep; empty: its backlight is left alone
  bool overlay = false;                    // the overlay shows over it
  overlay::DarknessLook look;              // the overlay as last applied (grey at 200 before)
  friend bool operator==(const DisplayPlan&, const DisplayPlan&) = default;
};

// The road's state and the displays' abilities to what each display gets.
std::vector<DisplayPlan> Plan(const RoadState& road, const std::vector<DisplayAbility>& displays);
// The overlays as the road's state has them.
overlay::OverlayLook OverlayPlan(const RoadState& road);

// A backlight step: a tenth of the monitor's range, rounded, at least 1.
std::uint32_t BacklightStep(std::uint32_t maximum);

// A backlight level in percent of the monitor's maximum, rounded (0 for a maximum of 0): the tray
// menu's "背光 N%" and the level on screen's.
int BacklightPercent(std::uint32_t level, std::uint32_t maximum);

// The main window's bar, label and 加强 box while it is loaded, told in one call.
struct RoadShown {
  int darkness = kDarknessAtStart;  // the bar's position
  bool enhance = false;             // the box
  std::optional<int> applied;       // Label_zl_show; empty: it keeps what it shows
};
class RoadView {
 public:
  virtual ~RoadView() = default;
  virtual void ShowRoad(const RoadShown& shown) = 0;  // raises nothing
};

// Where the backlight targets go: the backlight keepers.
class BacklightTargets {
 public:
  virtual ~BacklightTargets() = default;
  virtual void SetTarget(const std::string& identity, std::uint32_t level) = 0;
};

class DarknessRoad final : private DarknessStepTarget {
 public:
  // backlights may be null: no monitor is driven, the road is the overlay's alone.
  DarknessRoad(overlay::OverlayControl& overlay, BacklightTargets* backlights);
  DarknessRoad(const DarknessRoad&) = delete;
  DarknessRoad& operator=(const DarknessRoad&) = delete;

  // The main window shows the road while it is loaded; null when it unloads.
  void Attach(RoadView* view) { view_ = view; }
  // The level on screen, told after each step a key, the wheel or a command made; null: none.
  void SetLevelDisplay(LevelDisplay* display) { level_ = display; }
  // "先调背光", as the settings hold it: off, the keys walk the overlay's road alone and the
  // backlights stay where they are. Unset, it is on.
  void ReadBacklightFirstFrom(std::function<bool()> backlightFirst) {
    backlightFirst_ = std::move(backlightFirst);
  }

  // The one entry: every way in asks through here.
  void Take(const Request& request);
  // Where the road stands now, as the level on screen shows it after a step of the given kind.
  LevelReading Reading(bool backlightMoved) const;

  // The main window's start-up: the bar at -121, the box as designed (unticked), and the overlay's
  // update once.
  void Load();
  // The displays attached and what each can do, whenever that changes.
  void SetDisplays(std::vector<DisplayAbility> displays);
  // The backlight levels of the last end, by identity, for a restore at start. Each display takes
  // its level (at most its maximum) once, when its backlight is first known in this run or now if
  // it is known already, and only while the backlight stage is on; never again afterwards.
  void RestoreBacklights(RoadState::Backlights levels);

  const RoadState& State() const { return state_; }
  const std::vector<DisplayAbility>& Displays() const { return displays_; }
  overlay::OverlayLook OverlayNow() const { return OverlayPlan(state_); }

 private:
  // What a request does to the state; the plan moves the rest afterwards.
  void Apply(const Request& request);
  // Shows the plan of the state now where it differs from `before`'s; with `everything`, the
  // window's bar and box whatever they showed.
  void Publish(const RoadState& before, bool everything = false);
  bool BacklightFirst() const { return !backlightFirst_ || backlightFirst_(); }

  void EnhanceClicked(bool ticked);
  void StepDarkerOnRoad();
  void StepBrighterOnRoad();
  void Restore();
  // Whether a hotkey step would move some backlight, and moving them.
  bool AnyBacklight(bool (*wants)(std::uint32_t level, std::uint32_t maximum)) const;
  void StepBacklights(bool darker);
  void SetBacklightPercent(int percent);
  // Puts this display's target at the percent of its range; false when it drives none.
  bool TargetAtPercent(const DisplayAbility& display, int percent);
  // Takes the level kept for this display, if one is still waiting; true when the target moved.
  bool TakeRestoredLevel(const DisplayAbility& display);

  // DarknessStepTarget: the bar's hotkey step over the road's own state.
  int DarknessValue() const override { return state_.darkness; }
  int DarknessMinimum() const override { return kDarknessRange.minimum; }
  int DarknessMaximum() const override { return kDarknessRange.maximum; }
  void SetDarknessValue(int value) override;
  void TickEnhance() override;
  // The overlay's update: while it shows, the bar's value becomes the applied one (the label).
  void RunDarknessUpdate() override;

  overlay::OverlayControl& overlay_;
  BacklightTargets* backlights_;
  RoadView* view_ = nullptr;
  LevelDisplay* level_ = nullptr;
  std::function<bool()> backlightFirst_;
  RoadState state_;
  std::vector<DisplayAbility> displays_;
  RoadState::Backlights toRestore_;  // levels of the last end not yet taken
  // The percent asked by the last SetBacklights, for monitors that first answer after it (a
  // command at start comes before any monitor has); forgotten at the next request of another kind.
  std::optional<int> percentToCome_;
  std::vector<std::string> seen_;    // displays whose backlight has been known in this run
};

}  // namespace lumenor::dimming
