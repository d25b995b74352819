#include "display/display_set.h"

#include <utility>

#include "display/hdr_policy.h"

namespace lumenor::display {

namespace {

// A display in HDR mode takes no ramp; the user hears of it once (display_notices).
bool SkippedForHdr(const AttachedDisplay& display, std::size_t index, OperationOutcome& outcome) {
  if (display.info.hdr != platform::HdrMode::On) return false;
  outcome.hdr.push_back({index + 1, &display.info.identity});
  return true;
}

}  // namespace

DisplaySet::DisplaySet(platform::Displays& system, platform::Timer& rewriteTimer,
                       platform::Notices& notices, DisplayFollower& follower,
                       platform::LoopIdle* idle)
    : system_(system),
      follower_(follower),
      displays_(system),
      notices_(notices),
      rewrites_(rewriteTimer),
      pacing_(idle, *this) {
  Refresh(platform::Displays::Look::Thorough);
}

DisplaySet::~DisplaySet() = default;

bool DisplaySet::Refresh(platform::Displays::Look look) {
  const DisplayList::Change change = displays_.Take(system_.Attached(look), look);
  if (!change.changed) return false;
  Follow();
  if (last_.kind != RampOperation::Kind::None) ApplyTo(change.arrived, last_);
  return true;
}

void DisplaySet::Follow() {
  std::vector<FollowedDisplay> followed;
  followed.reserve(displays_.size());
  for (std::size_t k = 0; k < displays_.size(); ++k) {
    followed.push_back({displays_[k].info.identity, displays_[k].info.bounds,
                        displays_[k].included, displays_[k].info});
  }
  follower_.Follow(followed);
}

void DisplaySet::OnSignal(platform::DisplaySignal signal) {
  if (signal == platform::DisplaySignal::None) return;
  // Any may come with displays gone, come or changed, and with their ramps reset; the overlays
  // cover their displays again whatever the window system did with them.
  Refresh(platform::Displays::Look::Thorough);
  follower_.KeepOnTop();
  StartRewrites();
}

void DisplaySet::OnKeepOnTopTick() {
  // Some systems (and the test desktop) change displays without telling any window.
  if (Refresh(platform::Displays::Look::Quick)) {
    StartRewrites();
  } else {
    LookAtWritten();
  }
  follower_.KeepOnTop();
}

void DisplaySet::LookAtWritten() {
  // Windows resets ramps without a message (a toast, Settings, Night light, a game leaving
  // fullscreen), and any program may write one. A reset is undone; another program's ramp is
  // left alone, never fought over.
  std::vector<std::size_t> reset;
  std::vector<std::size_t> overwritten;
  for (std::size_t k = 0; k < displays_.size(); ++k) {
    AttachedDisplay& display = displays_[k];
    if (!display.Written()) continue;
    switch (display.keeper.Look(display.ramps.SavedRamp())) {
      case RampKeeper::Seen::Nothing:
      case RampKeeper::Seen::Kept:
        break;
      case RampKeeper::Seen::Reset:
        reset.push_back(k);
        break;
      case RampKeeper::Seen::Other:
        display.yielded = true;
        overwritten.push_back(k + 1);
        break;
    }
  }
  Rewrite(reset);
  notices_.TellOverwritten(overwritten);
}

void DisplaySet::StartRewrites() {
  bool anyTaken = false;
  for (std::size_t k = 0; k < displays_.size(); ++k) {
    anyTaken = anyTaken || displays_[k].keeper.LastApplied().has_value();
  }
  if (!anyTaken) return;  // nothing of ours is on any display to be lost
  RewriteAll();
  rewrites_.Start();
}

void DisplaySet::OnRewriteTimer() {
  if (rewrites_.OnTimer()) RewriteAll();
}

void DisplaySet::RewriteAll() {
  std::vector<std::size_t> written;
  for (std::size_t k = 0; k < displays_.size(); ++k) {
    if (displays_[k].Written() && displays_[k].keeper.LastApplied()) written.push_back(k);
  }
  Rewrite(written);
}

void DisplaySet::Rewrite(const std::vector<std::size_t>& indexes) {
  if (indexes.empty()) return;
  AskHdr();
  OperationOutcome outcome;  // a refusal now is the system holding the display: not told
  for (std::size_t index : indexes) {
    AttachedDisplay& display = displays_[index];
    if (!SkippedForHdr(display, index, outcome) && display.Written()) display.keeper.Rewrite();
  }
  notices_.Tell(outcome, CountWritten());
}

void DisplaySet::ReadReferences() {
  for (std::size_t k = 0; k < displays_.size(); ++k) displays_[k].ReadReference();
}

void DisplaySet::ApplyBrightness(std::int16_t brightness) {
  Apply({RampOperation::Kind::Brightness, brightness, {}});
}

void DisplaySet::ApplyContrast(std::int16_t contrast) {
  Apply({RampOperation::Kind::Contrast, contrast, {}});
}

void DisplaySet::ApplyColours(const std::array<std::int16_t, 3>& colours) {
  Apply({RampOperation::Kind::Colours, 0, colours});
}

void DisplaySet::RestoreReferences(const GammaRamp* fileRamp) {
  if (fileRamp != nullptr) {
    for (std::size_t k = 0; k < displays_.size(); ++k) displays_[k].ramps.SavedRamp() = *fileRamp;
  }
  Apply({RampOperation::Kind::Reference, 0, {}});
}

void DisplaySet::Apply(const RampOperation& operation) {
  last_ = operation;
  // The user's adjustment: displays another program wrote are Lumenor's again.
  for (std::size_t k = 0; k < displays_.size(); ++k) displays_[k].yielded = false;
  pacing_.Due();
}

void DisplaySet::AskHdr() {
  // HDR switched on while Lumenor runs (Win+Alt+B) may come with no notice: asked before each
  // write, so that a display in HDR mode is never written.
  if (displays_.size() == 0) return;
  std::vector<platform::DisplayInfo> infos;
  infos.reserve(displays_.size());
  for (std::size_t k = 0; k < displays_.size(); ++k) infos.push_back(displays_[k].info);
  const std::vector<platform::HdrMode> modes = system_.HdrModes(infos);
  for (std::size_t k = 0; k < displays_.size() && k < modes.size(); ++k) {
    displays_[k].info.hdr = KnownHdr(displays_[k].info.hdr, modes[k]);
  }
}

void DisplaySet::WriteLatest() {
  std::vector<std::size_t> all(displays_.size());
  for (std::size_t k = 0; k < all.size(); ++k) all[k] = k;
  ApplyTo(all, last_);
}

void DisplaySet::ApplyTo(const std::vector<std::size_t>& indexes, const RampOperation& operation) {
  if (indexes.empty()) return;
  AskHdr();
  OperationOutcome outcome;
  for (std::size_t index : indexes) {
    AttachedDisplay& display = displays_[index];
    if (!display.included || display.yielded) continue;
    if (SkippedForHdr(display, index, outcome)) continue;
    ++outcome.written;
    if (!ApplyOperation(display.ramps, operation)) outcome.refused.push_back(index + 1);
  }
  notices_.Tell(outcome, CountWritten());
}

std::size_t DisplaySet::CountWritten() const {
  std::size_t count = 0;
  for (std::size_t k = 0; k < displays_.size(); ++k) count += displays_[k].Written() ? 1 : 0;
  return count;
}

std::vector<DisplayChoice> DisplaySet::Choices() const {
  std::vector<DisplayChoice> choices;
  for (std::size_t k = 0; k < displays_.size(); ++k) {
    choices.push_back({DisplayChoiceLabel(k + 1, displays_[k].info), displays_[k].included,
                       displays_[k].info.identity});
  }
  return choices;
}

void DisplaySet::SetIncluded(const std::string& identity, bool included) {
  const std::size_t index = displays_.Find(identity);
  if (index == displays_.size() || displays_[index].included == included) return;
  AttachedDisplay& display = displays_[index];
  if (!included) {
    // Its own reference back when ours is on it, then nothing of ours touches it.
    if (display.Written() && display.keeper.LastApplied()) {
      AskHdr();
      if (display.Written()) display.ramps.ApplySaved();
    }
    display.included = false;
  } else {
    display.included = true;
    display.yielded = false;
    if (last_.kind != RampOperation::Kind::None) ApplyTo({index}, last_);
  }
  Follow();
}

const platform::DisplayInfo& DisplaySet::Info(std::size_t index) const {
  return displays_[index].info;
}

const GammaAdjuster& DisplaySet::Ramps(std::size_t index) const {
  return displays_[index].ramps;
}

const std::optional<GammaRamp>& DisplaySet::LastApplied(std::size_t index) const {
  return displays_[index].keeper.LastApplied();
}

}  // namespace lumenor::display
