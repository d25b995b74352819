#include "dimming/backlight_keepers.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/backlight.h"
#include "platform/notices.h"
#include "platform/timer.h"
#include "platform/worker.h"

namespace lumenor::dimming {

std::string WithBacklight(std::string displayLabel, int percent) {
  displayLabel += kBacklightLabelPart;
  displayLabel += std::to_string(percent);
  displayLabel += '%';
  return displayLabel;
}

struct BacklightKeepers::Entry {
  Entry(unsigned serialNumber, const display::FollowedDisplay& display)
      : serial(serialNumber), identity(display.identity), keeper(display.info) {}
  unsigned serial;  // tells a late result of a display gone from one of a display come back
  std::string identity;
  BacklightKeeper keeper;
  bool retried = false;  // the call now due was made once already and failed
  bool late = false;     // its call is out past the watchdog: without a backlight until it returns
};

// What one call on the worker thread came back with. Plain values and the monitors it opened.
struct BacklightKeepers::Result {
  BacklightKeeper::Request request;
  bool opened = false;
  BacklightKeeper::Monitors monitors;
  std::vector<BacklightKeeper::Answer> answers;  // one per monitor
};

BacklightKeepers::BacklightKeepers(platform::Worker& worker,
                                   std::shared_ptr<platform::Backlights> backlights, Timers timers,
                                   platform::Notices& notices, AbilitiesChanged abilitiesChanged)
    : worker_(worker),
      backlights_(std::move(backlights)),
      timers_(timers),
      notices_(notices),
      abilitiesChanged_(std::move(abilitiesChanged)) {}

BacklightKeepers::~BacklightKeepers() = default;

BacklightKeepers::Entry* BacklightKeepers::Find(const std::string& identity) {
  for (auto& entry : entries_) {
    if (entry->identity == identity) return entry.get();
  }
  return nullptr;
}

BacklightKeepers::Entry* BacklightKeepers::FindSerial(unsigned serial) {
  for (auto& entry : entries_) {
    if (entry->serial == serial) return entry.get();
  }
  return nullptr;
}

void BacklightKeepers::Follow(const std::vector<display::FollowedDisplay>& displays) {
  std::vector<std::unique_ptr<Entry>> next;
  next.reserve(displays.size());
  for (const display::FollowedDisplay& display : displays) {
    auto kept = std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) {
      return entry && entry->identity == display.identity;
    });
    if (kept != entries_.end()) {
      // Another device name or place: the monitor is opened afresh. An HDR switch is no reason.
      const platform::DisplayInfo& was = (*kept)->keeper.Info();
      if (was.deviceName != display.info.deviceName || was.bounds != display.info.bounds)
        (*kept)->keeper.Relisted(display.info);
      next.push_back(std::move(*kept));
    } else {
      next.push_back(std::make_unique<Entry>(nextSerial_++, display));  // asked when first seen
    }
  }
  entries_ = std::move(next);
  followed_ = displays;
  TellAbilities();
  Pump();
}

void BacklightKeepers::SetTarget(const std::string& identity, std::uint32_t level) {
  if (Entry* entry = Find(identity)) {
    entry->keeper.SetTarget(level);
    Pump();
  }
}

void BacklightKeepers::OnSignal(platform::DisplaySignal signal) {
  switch (signal) {
    case platform::DisplaySignal::None:
      return;
    case platform::DisplaySignal::DisplaysChanged:
    case platform::DisplaySignal::MayHaveBeenReset:
      for (auto& entry : entries_) entry->keeper.AskAgain();
      Pump();
      return;
    case platform::DisplaySignal::Resumed:
      // DDC/CI often answers only seconds after a wake: the asks wait for the wake timer.
      for (auto& entry : entries_) entry->keeper.AfterWake();
      wakeAsks_ = 0;
      timers_.wake.Start(kWakeAskDelaysMs[0]);
      return;
  }
}

void BacklightKeepers::OnWakeTimer() {
  for (auto& entry : entries_) {
    if (entry->keeper.AwaitsAnswer()) entry->keeper.AskAgain();
  }
  ++wakeAsks_;
  if (wakeAsks_ < std::size(kWakeAskDelaysMs)) {
    timers_.wake.Start(kWakeAskDelaysMs[wakeAsks_]);
  } else {
    timers_.wake.Stop();
  }
  Pump();
}

void BacklightKeepers::OnRetryTimer() {
  timers_.retry.Stop();
  const std::optional<unsigned> retrying = std::exchange(retrying_, std::nullopt);
  // The retry goes before the other monitors' calls.
  if (Entry* entry = retrying ? FindSerial(*retrying) : nullptr; entry && !inFlight_) {
    if (const std::optional<BacklightKeeper::Request> request = entry->keeper.Next()) {
      Send(*entry, *request);
      return;
    }
  }
  Pump();
}

void BacklightKeepers::OnWatchdogTimer() {
  timers_.watchdog.Stop();
  if (!inFlight_) return;
  // The call may still land: its monitor waits for it without a backlight (the overlay carries its
  // steps) while a fresh thread serves the others. No balloon: nothing has been refused yet.
  if (Entry* entry = FindSerial(*inFlight_)) entry->late = true;
  inFlight_.reset();
  worker_.LeaveBehind();
  TellAbilities();
  Pump();
}

void BacklightKeepers::Pump() {
  if (inFlight_ || retrying_ || entries_.empty()) return;
  // The monitors in turn, so a held key on one never starves another.
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::size_t at = (turn_ + i) % entries_.size();
    Entry& entry = *entries_[at];
    if (entry.late) continue;  // one call at a time on a monitor
    if (const std::optional<BacklightKeeper::Request> request = entry.keeper.Next()) {
      turn_ = at + 1;
      Send(entry, *request);
      return;
    }
  }
}

void BacklightKeepers::Send(Entry& entry, const BacklightKeeper::Request& request) {
  inFlight_ = entry.serial;
  timers_.watchdog.Start(kUnresponsiveMs);
  // The job holds only copies: the display's listing, the monitor, the shared backlights.
  // The handles are asked for afresh first when they may be gone.
  const bool open = entry.keeper.NeedsOpening();
  BacklightKeeper::Monitors monitors = entry.keeper.Handles();
  std::vector<std::optional<std::uint32_t>> levels = entry.keeper.WriteLevels(request);
  std::shared_ptr<platform::Backlights> backlights = backlights_;
  platform::DisplayInfo info = entry.keeper.Info();
  const unsigned serial = entry.serial;
  std::weak_ptr<int> alive = alive_;
  worker_.Run([this, alive, serial, open, request, monitors = std::move(monitors),
               levels = std::move(levels), backlights = std::move(backlights),
               info = std::move(info)]() mutable {
    Result result{request, open, std::move(monitors), {}};
    if (open) result.monitors = backlights->Open(info);
    result.answers.resize(result.monitors.size());
    const bool write = request.kind == BacklightKeeper::Request::Kind::Write;
    // A write goes to the monitors as they were when it was asked; other ones are read first.
    if (write && levels.size() != result.monitors.size()) levels.clear();
    for (std::size_t i = 0; i < result.monitors.size(); ++i) {
      platform::MonitorBacklight& monitor = *result.monitors[i];
      BacklightKeeper::Answer& answer = result.answers[i];
      if (!write) {
        answer.level = monitor.Read();
      } else if (i < levels.size() && levels[i]) {
        answer.accepted = monitor.Write(*levels[i]);
        if (answer.accepted) answer.level = monitor.Read();  // every write read back
      }
    }
    // Only the delivery, on the user-interface thread, touches this object, if it still lives.
    return platform::Worker::Delivery([this, alive, serial, result = std::move(result)] {
      if (alive.lock()) OnResult(serial, result);
    });
  });
}

void BacklightKeepers::OnResult(unsigned serial, const Result& result) {
  if (inFlight_ == serial) {
    timers_.watchdog.Stop();
    inFlight_.reset();
  }
  Entry* entry = FindSerial(serial);
  if (entry == nullptr) {  // gone while it was out
    Pump();
    return;
  }
  // A late answer counts: what landed is the monitor's level.
  const bool late = std::exchange(entry->late, false);
  BacklightKeeper& keeper = entry->keeper;
  const bool write = result.request.kind == BacklightKeeper::Request::Kind::Write;
  std::optional<BacklightKeeper::Outcome> outcome;
  if (result.opened && !keeper.Opened(result.monitors)) {
    outcome = BacklightKeeper::Outcome::Failed;  // its monitors gone for a moment
  } else if (!result.monitors.empty()) {
    outcome = write ? keeper.OnWrite(result.request.level, result.answers)
                    : keeper.OnRead(result.answers);
  }
  if (outcome) {
    switch (*outcome) {
      case BacklightKeeper::Outcome::Done:
        entry->retried = false;
        if (late && write) keeper.TakeLanded();  // a read sets the level itself
        break;
      case BacklightKeeper::Outcome::Failed:
        if (!entry->retried) {
          // The handle may have been destroyed (with no message at all), and I2C errors are
          // often transient: once more on fresh handles, a little later.
          keeper.Renew();
          entry->retried = true;
          retrying_ = serial;
          timers_.retry.Start(kRetryDelayMs);
          return;
        }
        entry->retried = false;
        if (write) {
          Fail(*entry);
        } else {
          keeper.Unanswered();
        }
        break;
      case BacklightKeeper::Outcome::Ignored:
        entry->retried = false;
        Fail(*entry);
        break;
    }
  }
  TellAbilities();
  Pump();
}

void BacklightKeepers::Fail(Entry& entry) {
  if (!entry.keeper.GiveUp()) return;
  std::size_t number = 1;
  while (number <= entries_.size() && entries_[number - 1].get() != &entry) ++number;
  std::string text = "显示器 " + std::to_string(number);
  text += kBacklightGivenUpTail;
  notices_.Show(platform::kNoticeTitle, text);
}

std::vector<DisplayAbility> BacklightKeepers::Abilities() const {
  std::vector<DisplayAbility> abilities;
  abilities.reserve(followed_.size());
  for (std::size_t i = 0; i < followed_.size() && i < entries_.size(); ++i) {
    const Entry& entry = *entries_[i];
    abilities.push_back({followed_[i].identity, followed_[i].included,
                         entry.late ? std::nullopt : entry.keeper.Ability()});
  }
  return abilities;
}

std::optional<int> BacklightKeepers::Percent(const std::string& identity) const {
  for (const auto& entry : entries_) {
    if (entry->identity != identity) continue;
    const std::optional<platform::BacklightLevel> level = entry->keeper.Level();
    if (entry->late || entry->keeper.GetStatus() != BacklightKeeper::Status::Driven || !level)
      return {};
    return BacklightPercent(level->current, level->maximum);
  }
  return std::nullopt;
}

void BacklightKeepers::TellAbilities() {
  std::vector<DisplayAbility> abilities = Abilities();
  if (abilities == told_) return;
  told_ = abilities;
  if (abilitiesChanged_) abilitiesChanged_(std::move(abilities));
}

}  // namespace lumenor::dimming
