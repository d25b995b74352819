#pragma once
// The monitors' backlights, one keeper per display attached, followed by identity. One background
// thread serves every monitor in turn (monitors on one bus answer wrongly when asked at once), so
// at most one call that answers in time is in flight in the whole program: each keeper holds its
// latest target, and the next call goes out when the last one's result has come back. A held key
// thus sends where it ends up, not every step.
//
// - Windows destroys monitors' handles (a mode change, a monitor switched off and on, sleep, at
//   times with no message): they are asked for afresh after a display change, a possible reset and
//   a wake, and before a failed call is made once more about 50 ms later. Failing again on fresh
//   handles, or answering yes and keeping its level, leaves the display without a backlight for
//   the rest of the run, told once in a balloon. A monitor without DDC/CI is quietly without one.
// - A call not back within 2 s is left behind on its thread and a fresh one serves the others;
//   its monitor is without a backlight meanwhile. Its answer counts whenever it comes.
// - Monitors are asked when first seen and after a display change or a possible reset; after a
//   wake at about 2, 5 and 10 s, and the level taken last is written again once one answers.
// - The 5 s tick never talks to a monitor; nothing is written while nothing changes.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dimming/backlight_keeper.h"
#include "dimming/darkness_road.h"
#include "display/display_follower.h"
#include "platform/display_signals.h"

namespace lumenor::platform {
class Backlights;
class Notices;
class Timer;
class Worker;
}  // namespace lumenor::platform

namespace lumenor::dimming {

// "显示器 2" then this, once per monitor given up.
inline constexpr std::string_view kBacklightGivenUpTail = " 不接受背光调节，改用遮罩调暗。";

// The tray menu's "显示器" item of a display whose backlight is driven: "… · 背光 70%".
inline constexpr std::string_view kBacklightLabelPart = " · 背光 ";

std::string WithBacklight(std::string displayLabel, int percent);

inline constexpr unsigned kRetryDelayMs = 50;
inline constexpr unsigned kUnresponsiveMs = 2000;
// The asks after a wake, each this long after the one before: at about 2, 5 and 10 s.
inline constexpr unsigned kWakeAskDelaysMs[] = {2000, 3000, 5000};

class BacklightKeepers final : public display::DisplayFollower, public BacklightTargets {
 public:
  struct Timers {
    platform::Timer& watchdog;  // ticks OnWatchdogTimer
    platform::Timer& retry;     // ticks OnRetryTimer
    platform::Timer& wake;      // ticks OnWakeTimer
  };
  using AbilitiesChanged = std::function<void(std::vector<DisplayAbility>)>;

  // The backlights are shared with the jobs, which may outlive this object on the worker thread.
  BacklightKeepers(platform::Worker& worker, std::shared_ptr<platform::Backlights> backlights,
                   Timers timers, platform::Notices& notices, AbilitiesChanged abilitiesChanged);
  ~BacklightKeepers() override;
  BacklightKeepers(const BacklightKeepers&) = delete;
  BacklightKeepers& operator=(const BacklightKeepers&) = delete;

  // display::DisplayFollower
  void Follow(const std::vector<display::FollowedDisplay>& displays) override;
  void KeepOnTop() override {}  // the tick never talks to a monitor

  // BacklightTargets
  void SetTarget(const std::string& identity, std::uint32_t level) override;

  void OnSignal(platform::DisplaySignal signal);
  void OnWatchdogTimer();
  void OnRetryTimer();
  void OnWakeTimer();

  std::vector<DisplayAbility> Abilities() const;
  // The level of the display's driven backlight in percent of its maximum, rounded.
  std::optional<int> Percent(const std::string& identity) const;

 private:
  struct Entry;
  struct Result;

  Entry* Find(const std::string& identity);
  Entry* FindSerial(unsigned serial);
  void AskAll(bool quiet);
  // Sends the next call due, unless one is in flight or a retry is waiting.
  void Pump();
  void Send(Entry& entry, const BacklightKeeper::Request& request);
  void OnResult(unsigned serial, const Result& result);
  void Fail(Entry& entry);
  void TellAbilities();

  platform::Worker& worker_;
  std::shared_ptr<platform::Backlights> backlights_;
  Timers timers_;
  platform::Notices& notices_;
  AbilitiesChanged abilitiesChanged_;
  std::vector<std::unique_ptr<Entry>> entries_;  // in the system's order
  std::vector<display::FollowedDisplay> followed_;
  unsigned nextSerial_ = 1;
  std::optional<unsigned> inFlight_;  // the serial of the keeper whose call is out in time
  std::optional<unsigned> retrying_;  // the keeper waiting for its retry
  std::size_t wakeAsks_ = 0;          // asks after the last wake made so far
  std::size_t turn_ = 0;              // where the round of monitors goes on
  std::vector<DisplayAbility> told_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // a delivery's weak hold on this
};

}  // namespace lumenor::dimming
