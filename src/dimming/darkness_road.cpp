#include "dimming/darkness_road.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "app/hotkey_steps.h"
#include "overlay/overlay_control.h"

namespace lumenor::dimming {
namespace {

constexpr int kBarStep = 5;  // the bar's hotkey step
// The level bar's stretches: each overlay its 255 opacities, the backlights their 100 percent.
constexpr double kOverlayStretch = 255;
constexpr double kBacklightStretch = 100;

int Percent(std::uint32_t level, std::uint32_t maximum) {
  return maximum == 0 ? 0 : static_cast<int>((level * 100 + maximum / 2) / maximum);
}

}  // namespace

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

std::vector<DisplayPlan> Plan(const RoadState& road, const std::vector<DisplayAbility>& displays) {
  // Until an update applies a value the overlay keeps what it was made with.
  overlay::DarknessLook look{overlay::kDesignBackground, overlay::kCreationAlpha};
  if (road.applied) {
    const overlay::DarknessLook applied =
        overlay::LookForDarkness(static_cast<std::int16_t>(*road.applied));
    look.alpha = applied.alpha;
    if (applied.background) look.background = applied.background;
  }
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

// The bar's hotkey step (app::StepDarker and StepBrighter) over the road's own state.
class DarknessRoad::Bar final : public app::DarknessStepTarget {
 public:
  explicit Bar(DarknessRoad& road) : road_(road) {}
  int DarknessValue() const override { return road_.state_.darkness; }
  int DarknessMinimum() const override { return app::kDarknessRange.minimum; }
  int DarknessMaximum() const override { return app::kDarknessRange.maximum; }
  void SetDarknessValue(int value) override { road_.SetDarkness(value); }
  void TickEnhance() override { road_.TickEnhance(); }
  void RunDarknessUpdate() override { road_.Update(); }

 private:
  DarknessRoad& road_;
};

DarknessRoad::DarknessRoad(overlay::OverlayControl& overlay, BacklightTargets* backlights)
    : overlay_(overlay), backlights_(backlights) {}

void DarknessRoad::Load() {
  state_.enhance = false;
  if (view_ != nullptr) view_->ShowEnhance(false);
  SetDarkness(app::kDarknessAtStart);
  Update();
}

void DarknessRoad::OnThumbDrag(int value) {
  SetDarkness(value);
  Update();
}

void DarknessRoad::OnBarMoved(int value) {
  SetDarkness(value);
}

void DarknessRoad::OnEnhanceClick(bool ticked) {
  state_.enhance = ticked;
  if (view_ != nullptr) view_->ShowEnhance(ticked);
  if (ticked) {
    overlay_.Show();
  } else {
    overlay_.Hide();
  }
  state_.overlayShowing = ticked;
}

void DarknessRoad::TickEnhance() {
  // Ticking an unticked box runs its click reaction, as a user's click would.
  if (!state_.enhance) OnEnhanceClick(true);
}

void DarknessRoad::SetDarkness(int value) {
  state_.darkness = std::clamp(value, app::kDarknessRange.minimum, app::kDarknessRange.maximum);
  if (view_ != nullptr) view_->ShowDarkness(state_.darkness);
}

void DarknessRoad::Update() {
  // While the overlay is hidden the bar moves without effect, and the label keeps the last value
  // that was applied.
  state_.overlayShowing = overlay_.IsShowing();
  if (!state_.overlayShowing) return;
  overlay_.ApplyDarkness(static_cast<std::int16_t>(state_.darkness));
  state_.applied = state_.darkness;
  if (view_ != nullptr) view_->ShowApplied(state_.darkness);
}

bool DarknessRoad::AnyBacklight(bool (*wants)(std::uint32_t, std::uint32_t)) const {
  if (!state_.backlightFirst) return false;
  for (const DisplayAbility& display : displays_) {
    if (!display.included || !display.backlight) continue;
    const std::uint32_t* target = state_.Target(display.identity);
    if (target != nullptr && wants(*target, display.backlight->maximum))
      return true;
  }
  return false;
}

namespace {
bool AboveZero(std::uint32_t level, std::uint32_t) { return level > 0; }
bool BelowMaximum(std::uint32_t level, std::uint32_t maximum) { return level < maximum; }
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
  SendBacklights();
}

void DarknessRoad::StepDarker() {
  const bool white = state_.enhance && state_.darkness > 0;
  if (AnyBacklight(AboveZero)) {
    if (!white) {
      StepBacklights(true);
      return;
    }
    // The white stage ends at a clear overlay while some backlight is still to go down.
    if (state_.darkness - kBarStep < 0) {
      TickEnhance();
      SetDarkness(0);
      Update();
      return;
    }
  }
  Bar bar(*this);
  app::StepDarker(bar);
}

void DarknessRoad::StepBrighter() {
  const bool clear = !state_.enhance || state_.darkness == 0;
  if (AnyBacklight(BelowMaximum)) {
    if (clear) {
      StepBacklights(false);
      return;
    }
    // The black stage ends at a clear overlay while some backlight is still to come up.
    if (state_.darkness < 0 && state_.darkness + kBarStep > 0) {
      TickEnhance();
      SetDarkness(0);
      Update();
      return;
    }
  }
  Bar bar(*this);
  app::StepBrighter(bar);
}

void DarknessRoad::Restore() {
  SetDarkness(app::kDarknessRange.neutral);
  Update();
  for (const DisplayAbility& display : displays_) {
    std::uint32_t* target = state_.Target(display.identity);
    if (display.backlight && target != nullptr) *target = display.backlight->firstLevel;
  }
  SendBacklights();
}

void DarknessRoad::SetBacklightFirst(bool on) {
  // Turned off, the backlights stay where they are; the hotkeys walk today's road.
  state_.backlightFirst = on;
}

void DarknessRoad::SetDisplays(std::vector<DisplayAbility> displays) {
  RoadState::Backlights targets;
  RoadState::Backlights sent;
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
    const std::uint32_t* wasSent = sent_.Target(display.identity);
    sent.emplace_back(display.identity, wasSent != nullptr && !readAnew ? *wasSent : level);
  }
  displays_ = std::move(displays);
  // Targets of displays gone or given up are forgotten.
  state_.backlights = std::move(targets);
  sent_.backlights = std::move(sent);
  bool restored = false;
  for (const DisplayAbility& display : displays_) {
    if (!display.backlight) continue;
    // Only displays not seen before have a level waiting: a later sight finds none.
    const bool firstSight = std::find(seen_.begin(), seen_.end(), display.identity) == seen_.end();
    if (firstSight) seen_.push_back(display.identity);
    restored = TakeRestoredLevel(display) || restored;
    if (firstSight && percentToCome_) restored = TargetAtPercent(display, *percentToCome_) || restored;
  }
  if (restored) SendBacklights();
}

void DarknessRoad::RestoreBacklights(RoadState::Backlights levels) {
  toRestore_ = std::move(levels);
  bool restored = false;
  for (const DisplayAbility& display : displays_) {
    if (display.backlight) restored = TakeRestoredLevel(display) || restored;
  }
  // A display seen before and gone now has had its first sight.
  std::erase_if(toRestore_, [this](const auto& kept) {
    return std::find(seen_.begin(), seen_.end(), kept.first) != seen_.end();
  });
  if (restored) SendBacklights();
}

bool DarknessRoad::TakeRestoredLevel(const DisplayAbility& display) {
  const auto kept = std::find_if(toRestore_.begin(), toRestore_.end(),
                                 [&](const auto& entry) { return entry.first == display.identity; });
  if (kept == toRestore_.end()) return false;
  const std::uint32_t level = std::min(kept->second, display.backlight->maximum);
  toRestore_.erase(kept);
  // With the backlight stage off the road leaves every backlight where it is, and it never
  // touches a display left out.
  std::uint32_t* target = state_.Target(display.identity);
  if (!state_.backlightFirst || !display.included || target == nullptr) return false;
  *target = level;
  return true;
}

void DarknessRoad::Take(const Request& request) {
  const RoadState::Backlights before = state_.backlights;
  if (request.kind != Request::Kind::SetBacklights) percentToCome_.reset();
  switch (request.kind) {
    case Request::Kind::StepDarker:
      StepDarker();
      break;
    case Request::Kind::StepBrighter:
      StepBrighter();
      break;
    case Request::Kind::SetDarkness: {
      const int value =
          std::clamp(request.value, app::kDarknessRange.minimum, app::kDarknessRange.maximum);
      if (value != 0) TickEnhance();
      SetDarkness(value);
      Update();
      if (value == 0 && state_.enhance) OnEnhanceClick(false);
      break;
    }
    case Request::Kind::SetBacklights:
      SetBacklightPercent(request.value);
      break;
    case Request::Kind::Restore:
      Restore();
      return;
    case Request::Kind::Enhance:
      OnEnhanceClick(request.value != 0);
      return;
    case Request::Kind::BarDragged:
      OnThumbDrag(request.value);
      return;
    case Request::Kind::BarMoved:
      OnBarMoved(request.value);
      return;
  }
  if (level_ != nullptr && request.source != Source::Window)
    level_->ShowLevel(Reading(state_.backlights != before));
}

void DarknessRoad::SetBacklightPercent(int percent) {
  percent = std::clamp(percent, 0, 100);
  percentToCome_ = percent;
  for (const DisplayAbility& display : displays_) TargetAtPercent(display, percent);
  SendBacklights();
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
    backlight = std::max(backlight.value_or(0), Percent(*target, display.backlight->maximum));
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
    reading.position = (kOverlayStretch + (backlight ? kBacklightStretch - *backlight : 0)) / length;
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

void DarknessRoad::SendBacklights() {
  if (backlights_ == nullptr) return;
  for (const DisplayPlan& plan : Plan(state_, displays_)) {
    if (!plan.backlight) continue;
    std::uint32_t* sent = sent_.Target(plan.identity);
    if (sent == nullptr || *sent == *plan.backlight) continue;
    *sent = *plan.backlight;
    backlights_->SetTarget(plan.identity, *plan.backlight);
  }
}

}  // namespace lumenor::dimming
