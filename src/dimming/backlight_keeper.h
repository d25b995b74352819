#pragma once
// One monitor's backlight as the program keeps it: what it answered, the level the road wants, the
// level first read (for "恢复默认") and the last level it took (written again after a wake). It
// decides what to ask of the monitor next and takes the answers; the calls themselves are made by
// BacklightKeepers on the worker thread, one at a time. Every write is read back.

#include <cstdint>
#include <memory>
#include <optional>

#include "dimming/darkness_road.h"
#include "platform/backlight.h"
#include "platform/displays.h"

namespace lumenor::dimming {

class BacklightKeeper {
 public:
  enum class Status {
    Unknown,  // not answered yet: a display without a backlight until it does
    Driven,
    None,     // no DDC/CI, or given up: without a backlight for the rest of the run
  };
  struct Request {
    enum class Kind { Read, Write } kind = Kind::Read;
    std::uint32_t level = 0;  // for a write
  };
  // How a call ended.
  enum class Outcome { Done, Failed, Ignored };

  explicit BacklightKeeper(platform::DisplayInfo info) : info_(std::move(info)) {}

  const platform::DisplayInfo& Info() const { return info_; }
  Status GetStatus() const { return status_; }
  std::optional<BacklightAbility> Ability() const;
  // The level last read or taken, for the tray menu.
  std::optional<platform::BacklightLevel> Level() const { return known_; }

  // What to ask the monitor next; empty when nothing is due. A write only for a level that differs
  // from what the monitor has: nothing is written while nothing changes.
  std::optional<Request> Next() const;

  // The display is listed differently now (another device name after a reorder, a new mode): its
  // monitor is opened afresh with the next call.
  void Relisted(platform::DisplayInfo info);
  // Ask again: a display change, a possible reset, a wake. A monitor given up is not asked again.
  void AskAgain();
  // A read that failed twice: no fault (a monitor may answer only seconds after a wake); it is
  // asked again at the next signal. One that never answered is without a backlight until then.
  void Unanswered();
  // After a wake the last level taken goes back once the monitor answers.
  void AfterWake();
  // Still to answer since the last wake (or never answered at all).
  bool AwaitsAnswer() const { return !givenUp_ && (rewriteDue_ || status_ != Status::Driven); }
  bool NeedsOpening() const { return !opened_; }
  void SetTarget(std::uint32_t level);

  // The monitor opened on the worker thread (null: no DDC/CI), kept for the later calls.
  void Opened(std::shared_ptr<platform::MonitorBacklight> monitor);
  const std::shared_ptr<platform::MonitorBacklight>& Monitor() const { return monitor_; }

  Outcome OnRead(const std::optional<platform::BacklightLevel>& level);
  Outcome OnWrite(std::uint32_t asked, bool accepted,
                  const std::optional<platform::BacklightLevel>& readBack);
  // A write failed after its retry or was ignored, or a call did not return in time. Returns
  // whether the user is to hear of it: a monitor that never answered is quietly without one.
  bool GiveUp();

 private:
  platform::DisplayInfo info_;
  Status status_ = Status::Unknown;
  std::shared_ptr<platform::MonitorBacklight> monitor_;
  bool opened_ = false;
  bool givenUp_ = false;
  bool readDue_ = true;
  bool rewriteDue_ = false;
  std::optional<platform::BacklightLevel> known_;  // what the monitor has, as last read or taken
  std::uint32_t firstLevel_ = 0;
  std::uint32_t readLevel_ = 0;          // as last read outside a wake: the road starts from it
  std::optional<std::uint32_t> target_;  // what the road wants
};

}  // namespace lumenor::dimming
