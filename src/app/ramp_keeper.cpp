#include "app/ramp_keeper.h"

#include "app/notices.h"
#include "platform/one_shot_timer.h"

namespace lumenor::app {

namespace {

// Displays hand back only the high byte of each entry faithfully (Wine repeats it in the low one).
bool SameHighBytes(const GammaRamp& a, const GammaRamp& b) {
  for (std::size_t k = 0; k < a.size(); ++k) {
    if ((a[k] >> 8) != (b[k] >> 8)) return false;
  }
  return true;
}

}  // namespace

bool DisplayMayHaveBeenReset(std::uint32_t message, std::uintptr_t wParam) {
  switch (message) {
    case kWmDisplayChange:
      return true;
    case kWmPowerBroadcast:
      return wParam == kPbtApmResumeAutomatic || wParam == kPbtApmResumeSuspend;
    case kWmWtsSessionChange:
      return wParam == kWtsSessionUnlock || wParam == kWtsConsoleConnect;
    default:
      return false;
  }
}

RampKeeper::RampKeeper(platform::GammaDevice& display, platform::OneShotTimer& rewriteTimer,
                       Notices& notices)
    : display_(display), rewriteTimer_(rewriteTimer), notices_(notices) {}

bool RampKeeper::ReadRamp(GammaRamp& ramp) {
  return display_.ReadRamp(ramp);
}

bool RampKeeper::WriteRamp(const GammaRamp& ramp) {
  bool taken = display_.WriteRamp(ramp);
  if (!taken) {
    // Some drivers answer no for a ramp they did apply: only what the display shows counts.
    GammaRamp shown{};
    taken = display_.ReadRamp(shown) && SameHighBytes(shown, ramp);
  }
  if (taken) {
    lastApplied_ = ramp;
    refusalTold_ = false;
    return true;
  }
  // A drag through a refused range refuses every step: one balloon for all of them.
  if (!refusalTold_) {
    refusalTold_ = true;
    notices_.Show(kNoticeTitle, kRampRefusedText);
  }
  return false;
}

void RampKeeper::OnDisplayMayHaveBeenReset() {
  if (!lastApplied_) return;  // nothing of ours is on the display to be lost
  Rewrite();
  pending_ = Rewrites::First;
  rewriteTimer_.Start(kFirstRewriteDelayMs);
}

void RampKeeper::OnRewriteTimer() {
  switch (pending_) {
    case Rewrites::None:
      return;
    case Rewrites::First:
      Rewrite();
      pending_ = Rewrites::Second;
      rewriteTimer_.Start(kSecondRewriteDelayMs);
      return;
    case Rewrites::Second:
      Rewrite();
      pending_ = Rewrites::None;
      return;
  }
}

// A rewrite puts back a ramp the display took before; while the system still holds the display
// (a secure desktop) it may refuse, which is not the user's setting being refused.
void RampKeeper::Rewrite() {
  if (lastApplied_) display_.WriteRamp(*lastApplied_);
}

}  // namespace lumenor::app
