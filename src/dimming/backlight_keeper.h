#pragma once
// One display's backlight as the program keeps it: what its physical monitors answered, the level
// the road wants, the level first read (for "恢复默认") and the last level it took (written again
// after a wake). It decides what to ask of the monitors next and takes the answers; the calls
// themselves are made by BacklightKeepers on the worker thread, one display at a time. Every write
// is read back.
//
// A display has one physical monitor, or several in duplicate (clone) mode. Each that answers its
// own read is driven and read back on its own, at the road's level scaled to its own maximum; one
// that does not answer is left out quietly until the next read. The first that answers leads: its
// level is the display's.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "dimming/darkness_road.h"
#include "platform/backlight.h"
#include "platform/displays.h"

namespace lumenor::dimming {

class BacklightKeeper {
 public:
  enum class Status {
    Unknown,  // not answered yet: a display without a backlight until it does
    Driven,
    None,  // no DDC/CI, or given up: without a backlight for the rest of the run
  };
  struct Request {
    enum class Kind { Read, Write } kind = Kind::Read;
    std::uint32_t level = 0;  // for a write, in the leading monitor's range
  };
  // How a call ended.
  enum class Outcome { Done, Failed, Ignored };
  // What one physical monitor answered: a read's level, or a write's yes and its level read back.
  struct Answer {
    bool accepted = false;
    std::optional<platform::BacklightLevel> level;
  };
  using Monitors = std::vector<std::shared_ptr<platform::MonitorBacklight>>;

  explicit BacklightKeeper(platform::DisplayInfo info) : info_(std::move(info)) {}

  const platform::DisplayInfo& Info() const { return info_; }
  Status GetStatus() const { return status_; }
  std::optional<BacklightAbility> Ability() const;
  // The level last read or taken, for the tray menu.
  std::optional<platform::BacklightLevel> Level() const { return known_; }

  // What to ask the monitors next; empty when nothing is due. A write only for a level that
  // differs from what the monitor has: nothing is written while nothing changes.
  std::optional<Request> Next() const;
  // Per physical monitor, the level a write of the request gives it; empty for one left out.
  std::vector<std::optional<std::uint32_t>> WriteLevels(const Request& request) const;

  // The display is listed differently now (another device name after a reorder, a new mode): its
  // monitors are opened afresh with the next call.
  void Relisted(platform::DisplayInfo info);
  // The monitors' handles may be gone (Windows destroys them at a mode change, a monitor switched
  // off and on, an unlock after one, a wake, and at times with no message at all): asked for
  // afresh before the next call.
  void Renew() { opened_ = false; }
  // Ask again, with fresh handles: a display change, a possible reset, a wake. A monitor given up
  // is not asked again.
  void AskAgain();
  // A read that failed on fresh handles: no fault (a monitor may answer only seconds after a
  // wake); it is asked again at the next signal. One that never answered is without a backlight
  // until then.
  void Unanswered();
  // After a wake the last level taken goes back once the monitor answers.
  void AfterWake();
  // Still to answer since the last wake (or never answered at all).
  bool AwaitsAnswer() const { return !givenUp_ && (rewriteDue_ || status_ != Status::Driven); }
  bool NeedsOpening() const { return !opened_ || members_.empty(); }
  void SetTarget(std::uint32_t level);

  // The monitors opened on the worker thread (none: no DDC/CI), kept for the later calls. False
  // when a display whose monitor answered shows none, as for a moment during a change of mode:
  // that counts as a failed call, not as a monitor without DDC/CI.
  bool Opened(Monitors monitors);
  Monitors Handles() const;

  // The answers, one per physical monitor in the order of Handles().
  Outcome OnRead(const std::vector<Answer>& answers);
  Outcome OnWrite(std::uint32_t asked, const std::vector<Answer>& answers);
  // A late write that landed: the level it left is where the road goes on from.
  void TakeLanded();
  // A write failed on fresh handles or was ignored. Returns whether the user is to hear of it: a
  // monitor that never answered is quietly without one.
  bool GiveUp();

 private:
  // One physical monitor behind the display.
  struct Member {
    std::shared_ptr<platform::MonitorBacklight> monitor;
    std::optional<platform::BacklightLevel> known;  // empty: left out (did not answer its read)
  };
  const Member* Lead() const;

  platform::DisplayInfo info_;
  Status status_ = Status::Unknown;
  std::vector<Member> members_;
  bool opened_ = false;
  bool givenUp_ = false;
  bool readDue_ = true;
  bool rewriteDue_ = false;
  std::optional<platform::BacklightLevel> known_;  // what the lead has, as last read or taken
  std::uint32_t firstLevel_ = 0;
  std::uint32_t readLevel_ = 0;          // as last read outside a wake: the road starts from it
  std::optional<std::uint32_t> target_;  // what the road wants
};

}  // namespace lumenor::dimming
