#include "dimming/backlight_keepers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/fake_backlight.h"
#include "support/fake_notices.h"
#include "support/fake_timer.h"
#include "support/fake_worker.h"

namespace lumenor::dimming {
namespace {

using testing::FakeMonitorBacklight;
using Writes = std::vector<std::uint32_t>;

const std::string kGivenUp2 = "显示器 2 不接受背光调节，改用遮罩调暗。";

display::FollowedDisplay Display(const std::string& identity, int left) {
  display::FollowedDisplay followed{identity, {left, 0, left + 1024, 768}, true, {}};
  followed.info.identity = identity;
  return followed;
}

// Two displays, "a" without DDC/CI and "b" with a monitor at 80 of 100, followed and answered;
// in clone mode b shows on a laptop panel without DDC/CI too, listed first.
struct Desk {
  explicit Desk(bool clone = false) {
    panel->alwaysFails = true;
    backlights->monitors["b"] = {monitor};
    if (clone) backlights->monitors["b"].insert(backlights->monitors["b"].begin(), panel);
    keepers.Follow({Display("a", 0), Display("b", 1024)});
    worker.Settle();
  }
  // The timer's tick, when it runs.
  void Tick(testing::FakeTimer& timer, void (BacklightKeepers::*handler)()) {
    if (timer.Fire()) (keepers.*handler)();
  }
  std::optional<BacklightAbility> AbilityOfB() const { return told.back()[1].backlight; }

  testing::FakeWorker worker;
  std::shared_ptr<testing::FakeBacklights> backlights = std::make_shared<testing::FakeBacklights>();
  std::shared_ptr<FakeMonitorBacklight> monitor = std::make_shared<FakeMonitorBacklight>();
  std::shared_ptr<FakeMonitorBacklight> panel = std::make_shared<FakeMonitorBacklight>();
  testing::FakeTimer watchdog, retry, wake;
  testing::FakeNotices notices;
  std::vector<std::vector<DisplayAbility>> told;
  BacklightKeepers keepers{worker, backlights, {watchdog, retry, wake}, notices,
                           [this](std::vector<DisplayAbility> a) { told.push_back(std::move(a)); }};
};

TEST(BacklightKeepers_Follow, AMonitorIsReadWhenFirstSeenQuietlyWithoutDdcAndNothingIsWritten) {
  Desk desk;
  ASSERT_FALSE(desk.told.empty());
  EXPECT_FALSE(desk.told.back()[0].backlight) << "no DDC/CI";
  EXPECT_EQ(desk.AbilityOfB(), (BacklightAbility{100, 80, 80}));
  EXPECT_TRUE(desk.monitor->writes.empty());
  EXPECT_TRUE(desk.notices.shown.empty());
  const int jobs = desk.worker.queued;
  desk.keepers.KeepOnTop();  // the 5 s tick
  desk.keepers.SetTarget("b", 80);  // where it is already
  EXPECT_EQ(desk.worker.queued, jobs);
}

TEST(BacklightKeepers_SetTarget, AHeldKeySendsTheLatestTargetOnlyWithOneCallAtATime) {
  Desk desk;
  for (std::uint32_t level : {70u, 60u, 50u, 40u}) desk.keepers.SetTarget("b", level);
  EXPECT_EQ(desk.worker.jobs.size(), 1u) << "one call in flight";
  desk.worker.Settle();
  EXPECT_EQ(desk.monitor->writes, (Writes{70, 40}));
  EXPECT_EQ(desk.monitor->level, 40u);
  EXPECT_TRUE(desk.notices.shown.empty());
}

TEST(BacklightKeepers_SetTarget, AStepWhileTheMonitorIsReadAgainHoldsUnlessTheMonitorWasSetOnItself) {
  const struct {
    const char* name;
    std::uint32_t found;  // what the read finds; the program last knew 80
    Writes writes;
  } cases[] = {{"where the program left it", 80, {70}}, {"set to 40 on the monitor", 40, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Desk desk;
    desk.monitor->level = c.found;
    desk.keepers.OnSignal(platform::DisplaySignal::DisplaysChanged);
    ASSERT_EQ(desk.worker.jobs.size(), 1u) << "the read again";
    desk.keepers.SetTarget("b", 70);  // a Ctrl+Left while that read is under way
    desk.worker.Settle();
    EXPECT_EQ(desk.monitor->writes, c.writes);
  }
}

TEST(BacklightKeepers_SetTarget, TwoMonitorsAreServedInTurnWithOneCallInTheWholeProgram) {
  Desk desk;
  auto other = std::make_shared<FakeMonitorBacklight>();
  desk.backlights->monitors["c"] = {other};
  desk.keepers.Follow({Display("a", 0), Display("b", 1024), Display("c", 2048)});
  desk.worker.Settle();
  desk.keepers.SetTarget("b", 30);
  desk.keepers.SetTarget("c", 60);
  std::size_t most = 0;
  while (desk.worker.RunJob()) {
    most = std::max(most, desk.worker.deliveries.size() + desk.worker.jobs.size());
    desk.worker.Deliver();
  }
  EXPECT_EQ(most, 1u);
  EXPECT_EQ(desk.monitor->writes, (Writes{30}));
  EXPECT_EQ(other->writes, (Writes{60}));
}

TEST(BacklightKeepers_SetTarget, AFailedWriteIsRetriedOnFreshHandlesAndFailingAgainGivesItUp) {
  using Signal = platform::DisplaySignal;
  // What Windows does to the monitor's handles with the signal, before the write.
  enum class Handles { Kept, Destroyed, NoneForAMoment };
  using enum Handles;
  const struct {
    const char* name;
    int failingCalls;
    bool ignoresWrites;
    Handles handles;
    Signal signal;
    bool clone;
    Writes writes;
    bool givenUp;
    int callsOnDestroyedHandles;
  } cases[] = {
      {"a transient error", 1, false, Kept, Signal::None, false, {70, 70}, false, 0},
      {"failing again after the retry", 2, false, Kept, Signal::None, false, {70, 70}, true, 0},
      {"a yes that keeps the level", 0, true, Kept, Signal::None, false, {70}, true, 0},
      {"handles destroyed at a wake", 0, false, Destroyed, Signal::Resumed, false, {70}, false, 0},
      {"handles destroyed at a mode change", 0, false, Destroyed, Signal::DisplaysChanged, false,
       {70}, false, 0},
      {"no monitor for a moment at a mode change", 0, false, NoneForAMoment,
       Signal::DisplaysChanged, false, {70}, false, 0},
      {"handles destroyed with no message", 0, false, Destroyed, Signal::None, false, {70}, false,
       1},
      {"clone mode, a panel without DDC/CI", 0, false, Kept, Signal::None, true, {70}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Desk desk(c.clone);
    desk.monitor->failingCalls = c.failingCalls;
    desk.monitor->ignoresWrites = c.ignoresWrites;
    if (c.handles != Kept) desk.monitor->DestroyHandles();
    if (c.handles == NoneForAMoment) desk.backlights->monitors["b"].clear();
    desk.keepers.OnSignal(c.signal);
    desk.Tick(desk.wake, &BacklightKeepers::OnWakeTimer);
    desk.worker.Settle();
    if (c.handles == NoneForAMoment) desk.backlights->monitors["b"] = {desk.monitor};
    desk.keepers.SetTarget("b", 70);
    desk.worker.Settle();
    EXPECT_FALSE(desk.worker.RunJob()) << "the retry waits for its timer";
    desk.Tick(desk.retry, &BacklightKeepers::OnRetryTimer);
    desk.worker.Settle();
    EXPECT_EQ(desk.monitor->writes, c.writes);
    EXPECT_EQ(desk.monitor->level, c.givenUp ? 80u : 70u);
    EXPECT_TRUE(desk.panel->writes.empty()) << "a monitor that never answered its read";
    EXPECT_EQ(desk.monitor->callsOnDestroyedHandles, c.callsOnDestroyedHandles);
    EXPECT_EQ(!desk.AbilityOfB(), c.givenUp);
    EXPECT_EQ(desk.notices.shown.size(), c.givenUp ? 1u : 0u);
    if (c.givenUp) {
      EXPECT_EQ(desk.notices.shown[0].second, kGivenUp2);
    }
    // Given up for the run: later targets and signals reach it no more.
    desk.keepers.SetTarget("b", 20);
    desk.keepers.OnSignal(platform::DisplaySignal::DisplaysChanged);
    desk.worker.Settle();
    EXPECT_EQ(desk.monitor->writes.size(), c.writes.size() + (c.givenUp ? 0 : 1));
    EXPECT_LE(desk.notices.shown.size(), 1u);
  }
}

TEST(BacklightKeepers_Watchdog, ACallPast2sGoesToTheOverlayTheOthersGoOnAndItsLateAnswerCounts) {
  const struct {
    const char* name;
    bool returns;
  } cases[] = {{"an answer after the watchdog that landed", true},
               {"a call that never returns beside a monitor that answers", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Desk desk;
    auto other = std::make_shared<FakeMonitorBacklight>();
    desk.backlights->monitors["c"] = {other};
    desk.keepers.Follow({Display("a", 0), Display("b", 1024), Display("c", 2048)});
    desk.worker.Settle();
    desk.keepers.SetTarget("b", 70);
    ASSERT_TRUE(desk.watchdog.running);
    desk.Tick(desk.watchdog, &BacklightKeepers::OnWatchdogTimer);
    EXPECT_FALSE(desk.AbilityOfB()) << "the overlay carries its steps meanwhile";
    desk.keepers.SetTarget("c", 60);
    desk.keepers.SetTarget("b", 50);
    desk.worker.Settle();
    EXPECT_EQ(other->writes, (Writes{60})) << "the other monitor waits for the one hanging";
    if (c.returns) {
      desk.worker.ReturnLate();
      desk.worker.Deliver();
      EXPECT_EQ(desk.monitor->level, 70u);
      EXPECT_EQ(desk.AbilityOfB(), (BacklightAbility{100, 70, 80})) << "where it landed";
      desk.keepers.SetTarget("b", 80);  // "恢复默认"
      desk.worker.Settle();
      EXPECT_EQ(desk.monitor->level, 80u);
    } else {
      EXPECT_TRUE(desk.monitor->writes.empty()) << "a second call on the monitor hanging";
      EXPECT_FALSE(desk.AbilityOfB());
    }
    EXPECT_TRUE(desk.notices.shown.empty());
  }
}

TEST(BacklightKeepers_Resumed, AsksAt2To10sAndWritesTheLastLevelAgainOnceTheMonitorAnswers) {
  Desk desk;
  desk.keepers.SetTarget("b", 40);
  desk.worker.Settle();
  desk.monitor->level = 100;  // back to its own level on wake
  desk.monitor->alwaysFails = true;  // and not answering yet
  desk.keepers.OnSignal(platform::DisplaySignal::Resumed);
  EXPECT_TRUE(desk.worker.jobs.empty()) << "nothing asked at the wake itself";
  ASSERT_TRUE(desk.wake.running);
  desk.Tick(desk.wake, &BacklightKeepers::OnWakeTimer);  // about 2 s: no answer, even on retry
  desk.worker.Settle();
  desk.Tick(desk.retry, &BacklightKeepers::OnRetryTimer);
  desk.worker.Settle();
  EXPECT_EQ(desk.monitor->writes, (Writes{40}));
  desk.monitor->alwaysFails = false;
  desk.Tick(desk.wake, &BacklightKeepers::OnWakeTimer);  // about 5 s: it answers
  desk.worker.Settle();
  EXPECT_EQ(desk.monitor->writes, (Writes{40, 40}));
  EXPECT_EQ(desk.monitor->level, 40u);
  EXPECT_TRUE(desk.notices.shown.empty());
  EXPECT_EQ(desk.AbilityOfB(), (BacklightAbility{100, 80, 80})) << "the road keeps its target";
  desk.Tick(desk.wake, &BacklightKeepers::OnWakeTimer);  // about 10 s: the last ask
  desk.worker.Settle();
  EXPECT_EQ(desk.monitor->writes.size(), 2u);
  EXPECT_FALSE(desk.wake.running);
  EXPECT_EQ(desk.wake.starts, (std::vector<unsigned>{2000, 3000, 5000}));
}

}  // namespace
}  // namespace lumenor::dimming
