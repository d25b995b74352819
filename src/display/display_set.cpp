#include "display/display_set.h"

#include <algorithm>
#include <utility>

#include "display/ramp_keeper.h"
#include "platform/notices.h"
#include "platform/timer.h"

namespace lumenor::display {

namespace {

// A display whose device context could not be made: it reads nothing and takes nothing.
class Unopened final : public platform::GammaDevice {
 public:
  bool ReadRamp(GammaRamp&) override { return false; }
  bool WriteRamp(const GammaRamp&) override { return false; }
};

std::string DisplayName(std::size_t number) {
  return std::string(kDisplaysMenuText) + " " + std::to_string(number);
}

// "显示器 2" or "显示器 2、3".
std::string DisplayNames(const std::vector<std::size_t>& numbers) {
  std::string names = DisplayName(numbers.front());
  for (std::size_t k = 1; k < numbers.size(); ++k) names += "、" + std::to_string(numbers[k]);
  return names;
}

}  // namespace

struct DisplaySet::Display {
  Display(platform::DisplayInfo info, std::unique_ptr<platform::GammaDevice> opened)
      : info(std::move(info)), device(opened ? std::move(opened) : std::make_unique<Unopened>()) {}

  platform::DisplayInfo info;
  std::unique_ptr<platform::GammaDevice> device;  // its own device context
  RampKeeper keeper{*device};
  GammaAdjuster ramps{keeper};
  bool included = true;
};

std::string DisplayChoiceLabel(std::size_t number, const platform::DisplayInfo& info) {
  std::string label = DisplayName(number) + "：" + std::to_string(info.bounds.Width()) + "×" +
                      std::to_string(info.bounds.Height());
  if (info.primary) label += "（主）";
  return label;
}

DisplaySet::DisplaySet(platform::Displays& system, platform::Timer& rewriteTimer,
                       platform::Notices& notices, DisplayFollower& follower)
    : system_(system), rewriteTimer_(rewriteTimer), notices_(notices), follower_(follower) {
  Refresh(platform::Displays::Look::Thorough);
}

DisplaySet::~DisplaySet() = default;

bool DisplaySet::Written(const Display& display) {
  return display.included && display.info.hdr != platform::HdrMode::On;
}

std::unique_ptr<DisplaySet::Display> DisplaySet::Open(const platform::DisplayInfo& info) {
  auto display = std::make_unique<Display>(info, system_.OpenGamma(info));
  // Its reference until the main window's next load reads it again.
  if (!display->ramps.ReadSavedFromDisplay()) display->ramps.SavedRamp() = StraightRamp();
  return display;
}

bool DisplaySet::Refresh(platform::Displays::Look look) {
  const std::vector<platform::DisplayInfo> attached = system_.Attached(look);
  std::vector<platform::DisplayInfo> before;
  before.reserve(displays_.size());
  for (const auto& display : displays_) before.push_back(display->info);
  if (attached == before) return false;

  std::vector<std::unique_ptr<Display>> next;
  std::vector<std::size_t> arrived;  // indexes in `next` that want the last operation
  for (const platform::DisplayInfo& info : attached) {
    auto known = std::find_if(displays_.begin(), displays_.end(), [&](const auto& display) {
      return display && display->info.identity == info.identity;
    });
    if (known == displays_.end()) {
      arrived.push_back(next.size());
      next.push_back(Open(info));
      continue;
    }
    std::unique_ptr<Display> display = std::move(*known);
    if (display->info.deviceName != info.deviceName) {
      // Another device name: a new device context, the same reference and choice.
      auto reopened = std::make_unique<Display>(info, system_.OpenGamma(info));
      reopened->ramps.SavedRamp() = display->ramps.SavedRamp();
      reopened->included = display->included;
      display = std::move(reopened);
      arrived.push_back(next.size());
    } else {
      if (display->info.hdr == platform::HdrMode::On && info.hdr != platform::HdrMode::On) arrived.push_back(next.size());
      display->info = info;
    }
    next.push_back(std::move(display));
  }
  displays_ = std::move(next);  // the ones gone are forgotten, their device contexts deleted
  Follow();
  if (last_.kind != RampOperation::Kind::None) ApplyTo(arrived, last_);
  return true;
}

void DisplaySet::Follow() {
  std::vector<FollowedDisplay> followed;
  followed.reserve(displays_.size());
  for (const auto& display : displays_) {
    followed.push_back(
        {display->info.identity, display->info.bounds, display->included, display->info});
  }
  follower_.Follow(followed);
}

void DisplaySet::OnSignal(platform::DisplaySignal signal) {
  if (signal == platform::DisplaySignal::None) return;
  // Either may come with displays gone, come or changed, and with their ramps reset; the
  // overlays cover their displays again whatever the window system did with them.
  Refresh(platform::Displays::Look::Thorough);
  follower_.KeepOnTop();
  StartRewrites();
}

void DisplaySet::OnKeepOnTopTick() {
  // Some systems (and the test desktop) change displays without telling any window.
  if (Refresh(platform::Displays::Look::Quick)) StartRewrites();
  follower_.KeepOnTop();
}

void DisplaySet::StartRewrites() {
  const bool anyTaken = std::any_of(displays_.begin(), displays_.end(), [](const auto& display) {
    return display->keeper.LastApplied().has_value();
  });
  if (!anyTaken) return;  // nothing of ours is on any display to be lost
  RewriteAll();
  pending_ = Rewrites::First;
  rewriteTimer_.Start(kFirstRewriteDelayMs);
}

void DisplaySet::OnRewriteTimer() {
  switch (pending_) {
    case Rewrites::None:
      rewriteTimer_.Stop();
      return;
    case Rewrites::First:
      RewriteAll();
      pending_ = Rewrites::Second;
      rewriteTimer_.Start(kSecondRewriteDelayMs);
      return;
    case Rewrites::Second:
      RewriteAll();
      pending_ = Rewrites::None;
      rewriteTimer_.Stop();
      return;
  }
}

void DisplaySet::RewriteAll() {
  for (auto& display : displays_) {
    if (Written(*display)) display->keeper.Rewrite();
  }
}

void DisplaySet::ReadReferences() {
  for (auto& display : displays_) {
    if (!display->ramps.ReadSavedFromDisplay()) display->ramps.SavedRamp() = StraightRamp();
  }
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
    for (auto& display : displays_) display->ramps.SavedRamp() = *fileRamp;
  }
  Apply({RampOperation::Kind::Reference, 0, {}});
}

void DisplaySet::Apply(const RampOperation& operation) {
  last_ = operation;
  std::vector<std::size_t> all(displays_.size());
  for (std::size_t k = 0; k < all.size(); ++k) all[k] = k;
  ApplyTo(all, operation);
}

void DisplaySet::ApplyTo(const std::vector<std::size_t>& indexes, const RampOperation& operation) {
  std::vector<std::size_t> refused;  // display numbers, from 1
  std::vector<std::string> told;
  std::size_t written = 0;
  for (std::size_t index : indexes) {
    Display& display = *displays_[index];
    if (!display.included) continue;
    if (display.info.hdr == platform::HdrMode::On) {
      if (std::find(hdrTold_.begin(), hdrTold_.end(), display.info.identity) == hdrTold_.end()) {
        hdrTold_.push_back(display.info.identity);
        told.push_back(DisplayName(index + 1) + std::string(kHdrTail));
      }
      continue;
    }
    ++written;
    bool taken = true;
    switch (operation.kind) {
      case RampOperation::Kind::None:
        break;
      case RampOperation::Kind::Brightness:
        taken = display.ramps.ApplyBrightness(operation.value);
        break;
      case RampOperation::Kind::Contrast:
        taken = display.ramps.ApplyContrast(operation.value);
        break;
      case RampOperation::Kind::Colours:
        taken = display.ramps.ApplyColours(operation.colours);
        break;
      case RampOperation::Kind::Reference:
        taken = display.ramps.ApplySaved();
        break;
    }
    if (!taken) refused.push_back(index + 1);
  }
  if (refused.empty()) {
    if (written > 0) refusalTold_ = false;
  } else if (!refusalTold_) {
    // A drag through a refused range refuses every step: one balloon for all of them.
    refusalTold_ = true;
    told.insert(told.begin(), refused.size() == CountWritten()
                                  ? std::string(kRampRefusedText)
                                  : DisplayNames(refused) + std::string(kSomeRefusedTail));
  }
  if (told.empty()) return;
  std::string text = told.front();
  for (std::size_t k = 1; k < told.size(); ++k) text += "\n" + told[k];
  notices_.Show(platform::kNoticeTitle, text);
}

std::size_t DisplaySet::CountWritten() const {
  return static_cast<std::size_t>(std::count_if(
      displays_.begin(), displays_.end(), [](const auto& display) { return Written(*display); }));
}

std::vector<DisplayChoice> DisplaySet::Choices() const {
  std::vector<DisplayChoice> choices;
  for (std::size_t k = 0; k < displays_.size(); ++k) {
    choices.push_back({DisplayChoiceLabel(k + 1, displays_[k]->info), displays_[k]->included,
                       displays_[k]->info.identity});
  }
  return choices;
}

void DisplaySet::SetIncluded(const std::string& identity, bool included) {
  const auto found = std::find_if(displays_.begin(), displays_.end(), [&](const auto& display) {
    return display->info.identity == identity;
  });
  if (found == displays_.end() || (*found)->included == included) return;
  const auto index = static_cast<std::size_t>(found - displays_.begin());
  Display& display = **found;
  if (!included) {
    // Its own reference back, then nothing of ours touches it.
    if (Written(display)) display.ramps.ApplySaved();
    display.included = false;
  } else {
    display.included = true;
    if (last_.kind != RampOperation::Kind::None) ApplyTo({index}, last_);
  }
  Follow();
}

const platform::DisplayInfo& DisplaySet::Info(std::size_t index) const {
  return displays_.at(index)->info;
}

const GammaAdjuster& DisplaySet::Ramps(std::size_t index) const {
  return displays_.at(index)->ramps;
}

const std::optional<GammaRamp>& DisplaySet::LastApplied(std::size_t index) const {
  return displays_.at(index)->keeper.LastApplied();
}

}  // namespace lumenor::display
