#include "dimming/darkness_road.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace lumenor::dimming {
namespace {

// The level bar's stretches: each overlay its 255 opacities, the backlights their 100 percent.
constexpr double kOverlayStretch = 255;
constexpr double kBacklightStretch = 100;

}  // namespace

int BacklightPercent(std::uint32_t level, std::uint32_t maximum) {
  return maximum == 0 ? 0 : static_cast<int>((level * 100 + maximum / 2) / maximum);
}

std::uint32_t BacklightStep(std::uint32_t maximum) {
  return std::max<std::uint32_t>(1, (maximum + 5) / 10);
}

std::uint32_t* RoadState::Target(const std::string& identity) {
  for (auto& [id, level] : backlights) {
    if (id == identity) return &level;
  }
  return nullptr;
}

const std::uint32_t* RoadState::Target(const std::string& identity) const {
  return const_cast<RoadState*>(this)->Target(identity);
}

overlay::OverlayLook OverlayPlan(const RoadState& road) {
  // Until an update applies a value the overlay keeps what it was made with.
  overlay::OverlayLook planned;
  planned.showing = road.overlayShowing;
  if (road.coloured) {
    planned.look.background =
        overlay::LookForDarkness(static_cast<std::int16_t>(*road.coloured)).background;
  }
  if (road.applied) {
    planned.look.alpha = overlay::LookForDarkness(static_cast<std::int16_t>(*road.applied)).alpha;
  }
  return planned;
}

std::vector<DisplayPlan> Plan(const RoadState& road, const std::vector<DisplayAbility>& displays) {
  const overlay::DarknessLook look = OverlayPlan(road).look;
  std::vector<DisplayPlan> plans;
  plans.reserve(displays.size());
  for (const DisplayAbility& display : displays) {
    DisplayPlan plan{display.identity, std::nullopt, road.overlayShowing && display.included, look};
    const std::uint32_t* target = road.Target(display.identity);
    if (display.backlight && target != nullptr) plan.backlight = *target;
    plans.push_back(std::move(plan));
  }
  return plans;
}

DarknessRoad::DarknessRoad(overlay::OverlayControl& overlay, BacklightTargets* backlights)
    : overlay_(overlay), backlights_(backlights) {}

void DarknessRoad::Load() {
  const RoadState before = state_;
  overlay_.Prepare();
  state_.enhance = false;
  SetDarknessValue(kDarknessAtStart);
  RunDarknessUpdate();
  Publish(before, true);
}

void DarknessRoad::EnhanceClicked(bool ticked) {
  state_.enhance = ticked;
  state_.overlayShowing = ticked;
}

void DarknessRoad::TickEnhance() {
  // Ticking an unticked box runs its click reaction, as a user's click would.
  if (!state_.enhance) EnhanceClicked(true);
}

void DarknessRoad::SetDarknessValue(int value) {
  state_.darkness = std::clamp(value, kDarknessRange.minimum, kDarknessRange.maximum);
}

void DarknessRoad::RunDarknessUpdate() {
  // While the overlay is hidden the bar moves without effect, and the label keeps the last value
  // that was applied.
  if (!state_.overlayShowing) return;
  state_.applied = state_.darkness;
  if (state_.darkness != 0) state_.coloured = state_.darkness;
}

bool DarknessRoad::AnyBacklight(bool (*wants)(std::uint32_t, std::uint32_t)) const {
  if (!BacklightFirst()) return false;
  for (const DisplayAbility& display : displays_) {
    if (!display.included || !display.backlight) continue;
    const std::uint32_t* target = state_.Target(display.identity);
    if (target != nullptr && wants(*target, display.backlight->maximum)) return true;
  }
  return false;
}

namespace {
bool AboveZero(std::uint32_t level, std::uint32_t) {
  return level > 0;
}
bool BelowMaximum(std::uint32_t level, std::uint32_t maximum) {
  return level < maximum;
}
}  // namespace

void DarknessRoad::StepBacklights(bool darker) {
  for (const DisplayAbility& display : displays_) {
    if (!display.included || !display.backlight) continue;
    std::uint32_t* target = state_.Target(display.identity);
    if (target == nullptr) continue;
    const std::uint32_t maximum = display.backlight->maximum;
    const std::uint32_t step = BacklightStep(maximum);
    std::uint32_t& level = *target;
    level = darker ? (level > step ? level - step : 0) : std::min(maximum, level + step);
  }
}

void DarknessRoad::StepDarkerOnRoad() {
  const bool white = state_.enhance && state_.darkness > 0;
  if (AnyBacklight(AboveZero)) {
    if (!white) {
      StepBacklights(true);
      return;
    }
    // The white stage ends at a clear overlay while some backlight is still to go down.
    if (state_.darkness - kBarStep < 0) {
      TickEnhance();
      SetDarknessValue(0);
      RunDarknessUpdate();
      return;
    }
  }
  StepDarker(*this);
}

void DarknessRoad::StepBrighterOnRoad() {
  const bool clear = !state_.enhance || state_.darkness == 0;
  if (AnyBacklight(BelowMaximum)) {
    if (clear) {
      StepBacklights(false);
      return;
    }
    // The black stage ends at a clear overlay while some backlight is still to come up.
    if (state_.darkness < 0 && state_.darkness + kBarStep > 0) {
      TickEnhance();
      SetDarknessValue(0);
      RunDarknessUpdate();
      return;
    }
  }
  StepBrighter(*this);
}

void DarknessRoad::Restore() {
  SetDarknessValue(kDarknessRange.neutral);
  RunDarknessUpdate();
  for (const DisplayAbility& display : displays_) {
    std::uint32_t* target = state_.Target(display.identity);
    if (display.backlight && target != nullptr) *target = display.backlight->firstLevel;
  }
}

void DarknessRoad::SetDisplays(std::vector<DisplayAbility> displays) {
  RoadState::Backlights targets;
  for (const DisplayAbility& display : displays) {
    if (!display.backlight) continue;
    // A monitor that has just answered starts where it is, and so does one whose level was read
    // anew (set on the monitor itself); one already driven keeps its target.
    const std::uint32_t* known = state_.Target(display.identity);
    const DisplayAbility* before = nullptr;
    for (const DisplayAbility& old : displays_) {
      if (old.identity == display.identity && old.backlight) before = &old;
    }
    const bool readAnew = before == nullptr || before->backlight->level != display.backlight->level;
    const std::uint32_t level = known != nullptr && !readAnew ? *known : display.backlight->level;
    targets.emplace_back(display.identity, level);
  }
  displays_ = std::move(displays);
  // Targets of displays gone or given up are forgotten; a level read is where its keeper is
  // already, so only the levels restored below move a backlight.
  state_.backlights = std::move(targets);
  const RoadState before = state_;
  bool restored = false;
  for (const DisplayAbility& display : displays_) {
    if (!display.backlight) continue;
    // Only displays not seen before have a level waiting: a later sight finds none.
    const bool firstSight = std::find(seen_.begin(), seen_.end(), display.identity) == seen_.end();
    if (firstSight) seen_.push_back(display.identity);
    restored = TakeRestoredLevel(display) || restored;
    if (firstSight && percentToCome_) restored = TargetAtPercent(display, *percentToCome_) || restored;
  }
  if (restored) Publish(before);
}

void DarknessRoad::RestoreBacklights(RoadState::Backlights levels) {
  const RoadState before = state_;
  toRestore_ = std::move(levels);
  bool restored = false;
  for (const DisplayAbility& display : displays_) {
    if (display.backlight) restored = TakeRestoredLevel(display) || restored;
  }
  // A display seen before and gone now has had its first sight.
  std::erase_if(toRestore_, [this](const auto& kept) {
    return std::find(seen_.begin(), seen_.end(), kept.first) != seen_.end();
  });
  if (restored) Publish(before);
}

bool DarknessRoad::TakeRestoredLevel(const DisplayAbility& display) {
  const auto kept = std::find_if(toRestore_.begin(), toRestore_.end(), [&](const auto& entry) {
    return entry.first == display.identity;
  });
  if (kept == toRestore_.end()) return false;
  const std::uint32_t level = std::min(kept->second, display.backlight->maximum);
  toRestore_.erase(kept);
  // With the backlight stage off the road leaves every backlight where it is, and it never
  // touches a display left out.
  std::uint32_t* target = state_.Target(display.identity);
  if (!BacklightFirst() || !display.included || target == nullptr) return false;
  *target = level;
  return true;
}

void DarknessRoad::Take(const Request& request) {
  const RoadState before = state_;
  if (request.kind != Request::Kind::SetBacklights) percentToCome_.reset();
  Apply(request);
  Publish(before);
  // A step made in the main window is shown there; the others on the level on screen.
  const bool step =
      request.kind == Request::Kind::StepDarker || request.kind == Request::Kind::StepBrighter ||
      request.kind == Request::Kind::SetDarkness || request.kind == Request::Kind::SetBacklights;
  if (level_ != nullptr && step && request.source != Source::Window)
    level_->ShowLevel(Reading(state_.backlights != before.backlights));
}

void DarknessRoad::Apply(const Request& request) {
  switch (request.kind) {
    case Request::Kind::StepDarker:
      StepDarkerOnRoad();
      break;
    case Request::Kind::StepBrighter:
      StepBrighterOnRoad();
      break;
    case Request::Kind::SetDarkness: {
      const int value = std::clamp(request.value, kDarknessRange.minimum, kDarknessRange.maximum);
      if (value != 0) TickEnhance();
      SetDarknessValue(value);
      RunDarknessUpdate();
      if (value == 0 && state_.enhance) EnhanceClicked(false);
      break;
    }
    case Request::Kind::SetBacklights:
      SetBacklightPercent(request.value);
      break;
    case Request::Kind::Restore:
      Restore();
      break;
    case Request::Kind::Enhance:
      EnhanceClicked(request.value != 0);
      break;
    case Request::Kind::BarDragged:
      SetDarknessValue(request.value);
      RunDarknessUpdate();
      break;
    case Request::Kind::BarMoved:
      SetDarknessValue(request.value);
      break;
  }
}

void DarknessRoad::SetBacklightPercent(int percent) {
  percent = std::clamp(percent, 0, 100);
  percentToCome_ = percent;
  for (const DisplayAbility& display : displays_) TargetAtPercent(display, percent);
}

bool DarknessRoad::TargetAtPercent(const DisplayAbility& display, int percent) {
  std::uint32_t* target = state_.Target(display.identity);
  if (!display.included || !display.backlight || target == nullptr) return false;
  const std::uint32_t maximum = display.backlight->maximum;
  *target = (static_cast<std::uint32_t>(percent) * maximum + 50) / 100;
  return true;
}

LevelReading DarknessRoad::Reading(bool backlightMoved) const {
  std::optional<int> backlight;  // the highest driven level, in percent
  for (const DisplayAbility& display : displays_) {
    const std::uint32_t* target = state_.Target(display.identity);
    if (!display.included || !display.backlight || target == nullptr) continue;
    const int percent = BacklightPercent(*target, display.backlight->maximum);
    backlight = std::max(backlight.value_or(0), percent);
  }
  const int overlay = state_.overlayShowing ? state_.darkness : 0;
  const double stretch = backlight ? kBacklightStretch : 0;
  const double length = 2 * kOverlayStretch + stretch;
  LevelReading reading;
  reading.backlightFrom = kOverlayStretch / length;
  reading.backlightTo = (kOverlayStretch + stretch) / length;
  if (overlay > 0) {
    reading.position = (kOverlayStretch - overlay) / length;
  } else if (overlay < 0) {
    reading.position = (kOverlayStretch + stretch - overlay) / length;
  } else {
    reading.position =
        (kOverlayStretch + (backlight ? kBacklightStretch - *backlight : 0)) / length;
  }
  if (backlight && (backlightMoved || overlay == 0)) {
    reading.stage = LevelReading::Stage::Backlight;
    reading.percent = *backlight;
  } else {
    reading.stage =
        overlay > 0 ? LevelReading::Stage::WhiteOverlay : LevelReading::Stage::BlackOverlay;
    reading.percent = (std::abs(overlay) * 100 + 127) / 255;
  }
  return reading;
}

void DarknessRoad::Publish(const RoadState& before, bool everything) {
  // A new window shows the value applied, as a load's update applies it while the overlay shows.
  const bool applied =
      state_.applied && (state_.applied != before.applied || (everything && state_.overlayShowing));
  // The overlays: the look first, so a window that comes up shows it at once.
  if (applied) overlay_.ApplyDarkness(static_cast<std::int16_t>(*state_.applied));
  if (state_.overlayShowing != before.overlayShowing) {
    if (state_.overlayShowing) {
      overlay_.Show();
    } else {
      overlay_.Hide();
    }
  }
  const bool viewMoved = everything || applied || state_.darkness != before.darkness ||
                         state_.enhance != before.enhance;
  if (view_ != nullptr && viewMoved) {
    view_->ShowRoad({state_.darkness, state_.enhance, applied ? state_.applied : std::nullopt});
  }
  // The backlights: each keeper is told a target the plan moved.
  if (backlights_ == nullptr) return;
  const std::vector<DisplayPlan> was = Plan(before, displays_);
  const std::vector<DisplayPlan> now = Plan(state_, displays_);
  for (std::size_t k = 0; k < now.size(); ++k) {
    if (now[k].backlight && now[k].backlight != was[k].backlight)
      backlights_->SetTarget(now[k].identity, *now[k].backlight);
  }
}

}  // namespace lumenor::dimming
