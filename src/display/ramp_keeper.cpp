#include "display/ramp_keeper.h"

namespace lumenor::display {

bool SameHighBytes(const GammaRamp& a, const GammaRamp& b) {
  for (std::size_t k = 0; k < a.size(); ++k) {
    if ((a[k] >> 8) != (b[k] >> 8)) return false;
  }
  return true;
}

RampKeeper::RampKeeper(platform::GammaDevice& display) : display_(display) {}

bool RampKeeper::ReadRamp(GammaRamp& ramp) {
  if (!display_.ReadRamp(ramp)) return false;
  shown_ = ramp;
  return true;
}

bool RampKeeper::WriteRamp(const GammaRamp& ramp) {
  // What it shows just before: another program or the system may have changed it since the last
  // read, and a yes that leaves that picture on is no ramp taken.
  GammaRamp shownBefore{};
  const std::optional<GammaRamp> before =
      ReadRamp(shownBefore) ? std::optional<GammaRamp>(shownBefore) : std::nullopt;
  const bool answeredYes = display_.WriteRamp(ramp);
  GammaRamp now{};
  const bool readBack = ReadRamp(now);
  bool taken = answeredYes;
  if (readBack) {
    if (SameHighBytes(now, ramp)) {
      taken = true;
    } else if (answeredYes) {
      // Still the old picture: a yes for a ramp the display did not take.
      taken = !(before && SameHighBytes(now, *before));
    } else {
      taken = false;
    }
  }
  if (taken) {
    lastApplied_ = ramp;
    // An approximating driver shows something else for it: what it shows while it holds it.
    shownApplied_ = readBack ? now : ramp;
  }
  return taken;
}

void RampKeeper::Recall(const Memory& memory) {
  lastApplied_ = memory.applied;
  shownApplied_ = memory.shown;
}

bool RampKeeper::ShowsLastApplied(const GammaRamp& now) const {
  return (lastApplied_ && SameHighBytes(now, *lastApplied_)) ||
         (shownApplied_ && SameHighBytes(now, *shownApplied_));
}

RampKeeper::Seen RampKeeper::Look(const GammaRamp& reference) {
  GammaRamp now{};
  if (!lastApplied_ || !ReadRamp(now)) return Seen::Nothing;
  if (ShowsLastApplied(now)) return Seen::Kept;
  if (SameHighBytes(now, reference) || SameHighBytes(now, StraightRamp())) return Seen::Reset;
  return Seen::Other;
}

void RampKeeper::Rewrite() {
  if (lastApplied_) WriteRamp(*lastApplied_);
}

}  // namespace lumenor::display
