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
};

// What one call on the worker thread came back with. Plain values and the monitor it opened.
struct BacklightKeepers::Result {
  BacklightKeeper::Request request;
  bool opened = false;
  std::shared_ptr<platform::MonitorBacklight> monitor;
  bool accepted = false;
  std::optional<platform::BacklightLevel> level;  // read, or read back after the write
};

BacklightKeepers::BacklightKeepers(platform::Worker& worker,
                                   std::shared_ptr<platform::Backlights> backlights,
                                   Timers timers, platform::Notices& notices,
                                   AbilitiesChanged abilitiesChanged)
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
  for (auto& entry : entries_) {
    if (retrying && entry->serial == *retrying && !inFlight_) {
      if (const std::optional<BacklightKeeper::Request> request = entry->keeper.Next()) {
        Send(*entry, *request);
        return;
      }
    }
  }
  Pump();
}

void BacklightKeepers::OnWatchdogTimer() {
  timers_.watchdog.Stop();
  if (!inFlight_ || timedOut_) return;
  // The call still blocks the worker thread: the next goes out when its result comes at last.
  timedOut_ = true;
  for (auto& entry : entries_) {
    if (entry->serial == *inFlight_) Fail(*entry);
  }
  TellAbilities();
}

void BacklightKeepers::Pump() {
  if (inFlight_ || retrying_ || entries_.empty()) return;
  // The monitors in turn, so a held key on one never starves another.
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::size_t at = (turn_ + i) % entries_.size();
    Entry& entry = *entries_[at];
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
  const bool open = entry.keeper.NeedsOpening();
  std::shared_ptr<platform::MonitorBacklight> monitor = entry.keeper.Monitor();
  std::shared_ptr<platform::Backlights> backlights = backlights_;
  platform::DisplayInfo info = entry.keeper.Info();
  const unsigned serial = entry.serial;
  std::weak_ptr<int> alive = alive_;
  worker_.Run([this, alive, serial, open, request, monitor = std::move(monitor),
               backlights = std::move(backlights), info = std::move(info)]() mutable {
    Result result{request, open, std::move(monitor), false, std::nullopt};
    if (open) result.monitor = backlights->Open(info);
    if (result.monitor) {
      if (request.kind == BacklightKeeper::Request::Kind::Write) {
        result.accepted = result.monitor->Write(request.level);
        if (result.accepted) result.level = result.monitor->Read();  // every write read back
      } else {
        result.level = result.monitor->Read();
      }
    }
    // Only the delivery, on the user-interface thread, touches this object, if it still lives.
    return platform::Worker::Delivery([this, alive, serial, result = std::move(result)] {
      if (alive.lock()) OnResult(serial, result);
    });
  });
}

void BacklightKeepers::OnResult(unsigned serial, const Result& result) {
  timers_.watchdog.Stop();
  inFlight_.reset();
  const bool late = timedOut_;
  timedOut_ = false;
  Entry* entry = nullptr;
  for (auto& candidate : entries_) {
    if (candidate->serial == serial) entry = candidate.get();
  }
  if (entry == nullptr || late) {  // gone, or given up while it blocked
    Pump();
    return;
  }
  BacklightKeeper& keeper = entry->keeper;
  if (result.opened) keeper.Opened(result.monitor);
  if (result.monitor) {
    const bool write = result.request.kind == BacklightKeeper::Request::Kind::Write;
    const BacklightKeeper::Outcome outcome =
        write ? keeper.OnWrite(result.request.level, result.accepted, result.level)
              : keeper.OnRead(result.level);
    switch (outcome) {
      case BacklightKeeper::Outcome::Done:
        entry->retried = false;
        break;
      case BacklightKeeper::Outcome::Failed:
        if (!entry->retried) {
          // I2C errors are often transient: once more, a little later.
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
    abilities.push_back(
        {followed_[i].identity, followed_[i].included, entries_[i]->keeper.Ability()});
  }
  return abilities;
}

std::optional<int> BacklightKeepers::Percent(const std::string& identity) const {
  for (const auto& entry : entries_) {
    if (entry->identity != identity) continue;
    const std::optional<platform::BacklightLevel> level = entry->keeper.Level();
    if (entry->keeper.GetStatus() != BacklightKeeper::Status::Driven || !level) return {};
    return static_cast<int>((level->current * 100 + level->maximum / 2) / level->maximum);
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
