#include "display/display_set.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <tuple>
#include <utility>

#include "display/gamma_ramp.h"
#include "support/fake_displays.h"
#include "support/fake_loop_idle.h"
#include "support/fake_notices.h"
#include "support/fake_overlay.h"
#include "support/fake_timer.h"

namespace lumenor::display {
namespace {

using platform::DisplaySignal;
using testing::FakeGammaDevice;

// What the system puts on a display when it resets it: anything but Lumenor's ramp.
GammaRamp SystemRamp() {
  GammaRamp ramp = StraightRamp();
  for (auto& entry : ramp) entry = static_cast<std::uint16_t>(entry / 3);
  return ramp;
}

// A calibrated display: its own reference, unlike the straight ramp.
GammaRamp Calibrated() {
  GammaRamp ramp = StraightRamp();
  for (auto& entry : ramp) entry = static_cast<std::uint16_t>(entry - entry / 8);
  return ramp;
}

GammaRamp Brightness(const GammaRamp& reference, std::int16_t v) {
  FakeGammaDevice scratch;
  GammaAdjuster adjuster(scratch);
  adjuster.SavedRamp() = reference;
  adjuster.ApplyBrightness(v);
  return adjuster.WorkingRamp();
}

// The display under Wine: every brightening refused, darkening taken.
bool Darkening(const GammaRamp& ramp) {
  return ramp[RampIndex(0, 0)] == 0;
}

// The program's display set over a desk of straight displays: the primary 1280×800, then any
// others right of it, attached before Start.
struct Desk {
  explicit Desk(int count = 1) {
    displays.Attach({0, 0, 1280, 800}, true);
    for (int k = 1; k < count; ++k) displays.Attach({1280, 0, 2304, 768});
    for (std::size_t k = 0; k < displays.attached.size(); ++k)
      displays.Gamma(k).shown = StraightRamp();
  }
  DisplaySet& Start() {
    set.emplace(displays, timer, notices, overlay, paced ? &idle : nullptr);
    set->ReadReferences();
    return *set;
  }
  // The system tells the program, through the messages the listening window hears.
  void Signal(std::uint32_t message, std::uintptr_t wParam) {
    set->OnSignal(platform::SignalOfMessage(message, wParam));
  }
  void Tick() {
    if (timer.Fire()) set->OnRewriteTimer();
  }
  FakeGammaDevice& Gamma(std::size_t k) { return displays.Gamma(k); }
  std::vector<std::string> Balloons() const {
    std::vector<std::string> texts;
    for (const auto& [title, text] : notices.shown) texts.push_back(text);
    return texts;
  }

  testing::FakeDisplays displays;
  testing::FakeTimer timer;
  testing::FakeNotices notices;
  testing::FakeOverlay overlay;
  testing::FakeLoopIdle idle;
  bool paced = false;  // the set hears the message loop's idle turns
  std::optional<DisplaySet> set;
};

TEST(DisplaySignals_SignalOfMessage, ResetsAndChangesAndNothingElse) {
  const std::tuple<std::uint32_t, std::uintptr_t, int, DisplaySignal> cases[] = {
      {0x7E, 0, -1, DisplaySignal::DisplaysChanged},    // WM_DISPLAYCHANGE
      {0x218, 0x12, -1, DisplaySignal::Resumed},  // PBT_APMRESUMEAUTOMATIC
      {0x218, 0x7, -1, DisplaySignal::Resumed},   // PBT_APMRESUMESUSPEND
      {0x218, 0x8013, 1, DisplaySignal::MayHaveBeenReset},  // the console display switched on
      {0x2B1, 0x8, -1, DisplaySignal::MayHaveBeenReset},   // WTS_SESSION_UNLOCK
      {0x2B1, 0x1, -1, DisplaySignal::MayHaveBeenReset},   // WTS_CONSOLE_CONNECT
      {0x218, 0x8013, 0, DisplaySignal::None},   // switched off
      {0x218, 0x8013, 2, DisplaySignal::None},   // dimmed
      {0x218, 0x8013, -1, DisplaySignal::None},  // another power setting
      {0x218, 0x4, -1, DisplaySignal::None},     // PBT_APMSUSPEND
      {0x218, 0xA, -1, DisplaySignal::None},     // PBT_APMPOWERSTATUSCHANGE
      {0x2B1, 0x7, -1, DisplaySignal::None},     // WTS_SESSION_LOCK
      {0x2B1, 0x2, -1, DisplaySignal::None},     // WTS_CONSOLE_DISCONNECT
      {0x0113, 0x8, -1, DisplaySignal::None},    // WM_TIMER
      {0x007D, 0, -1, DisplaySignal::None},      // WM_STYLECHANGED, next to WM_DISPLAYCHANGE
  };
  for (const auto& [message, wParam, state, expected] : cases) {
    EXPECT_EQ(platform::SignalOfMessage(message, wParam, state), expected)
        << message << " " << wParam << " " << state;
  }
}

TEST(DisplaySet_Reset, BeforeTheFirstWriteOfTheRunNothingIsWritten) {
  Desk desk;
  DisplaySet& set = desk.Start();
  desk.Gamma(0).shown = SystemRamp();
  desk.Signal(0x7E, 0);
  desk.Signal(0x2B1, 0x8);
  // Left out at start (a choice kept from the last run): nothing of ours is on it to take back.
  set.SetIncluded("monitor-1", false);
  EXPECT_TRUE(desk.Gamma(0).writes.empty());
  EXPECT_TRUE(desk.timer.starts.empty());
  EXPECT_EQ(desk.Gamma(0).shown, SystemRamp());
}

TEST(DisplaySet_Reset, EachSignalPutsEveryRampTakenLastBackAtOnceAfterHalfASecondAndAfterTwo) {
  Desk desk(2);
  desk.displays.Gamma(1).shown = Calibrated();
  DisplaySet& set = desk.Start();
  set.ApplyBrightness(-20);
  const GammaRamp mine[] = {Brightness(StraightRamp(), -20), Brightness(Calibrated(), -20)};

  for (const auto& [message, wParam] : {std::pair<std::uint32_t, std::uintptr_t>{0x7E, 0},
                                        {0x218, 0x12},
                                        {0x2B1, 0x8},
                                        {0x2B1, 0x1}}) {
    SCOPED_TRACE(::testing::Message() << "message " << message << " " << wParam);
    desk.timer.starts.clear();
    for (std::size_t k : {0u, 1u}) desk.Gamma(k).shown = SystemRamp();
    desk.Signal(message, wParam);
    for (std::size_t k : {0u, 1u}) EXPECT_EQ(desk.Gamma(k).shown, mine[k]) << "at once";
    for (const char* when : {"about 0.5 s later", "about 2 s later"}) {
      for (std::size_t k : {0u, 1u}) desk.Gamma(k).shown = SystemRamp();  // the reset lands late
      desk.Tick();
      for (std::size_t k : {0u, 1u}) EXPECT_EQ(desk.Gamma(k).shown, mine[k]) << when;
    }
    EXPECT_EQ(desk.timer.starts, (std::vector<unsigned>{500, 1500}));
    EXPECT_FALSE(desk.timer.running) << "no tick and no write between signals";
  }
  EXPECT_TRUE(desk.notices.shown.empty());
}

TEST(DisplaySet_Reset, TheRampPutBackIsTheLastOneTakenNeitherARefusedOneNorALaterRefusal) {
  Desk desk;
  DisplaySet& set = desk.Start();
  FakeGammaDevice& display = desk.Gamma(0);
  display.accepts = Darkening;
  set.ApplyBrightness(-10);
  const GammaRamp taken = Brightness(StraightRamp(), -10);
  set.ApplyBrightness(10);  // lifts black: refused
  ASSERT_EQ(set.LastApplied(0), taken);
  ASSERT_EQ(desk.notices.shown.size(), 1u);

  // While the system holds the display it refuses even our ramp; that is no refusal to tell.
  display.shown = SystemRamp();
  display.accepts = [](const GammaRamp&) { return false; };
  desk.Signal(0x2B1, 0x8);
  EXPECT_EQ(display.writes.back(), taken);
  display.accepts = [](const GammaRamp&) { return true; };
  desk.Tick();
  EXPECT_EQ(display.shown, taken);
  EXPECT_EQ(desk.notices.shown.size(), 1u) << "a put-back ramp raises no balloon";

  // A restore's write is remembered like a slider's.
  const GammaRamp file = SystemRamp();
  set.RestoreReferences(&file);
  display.shown = StraightRamp();
  desk.Signal(0x7E, 0);
  EXPECT_EQ(display.shown, SystemRamp());
}

TEST(DisplaySet_Reset, TheTickPutsBackARampResetUnannouncedAndLeavesAnotherProgramsRampAlone) {
  // Another program's ramp: a night-light tint, neither Lumenor's, nor a reference, nor straight.
  GammaRamp tinted = StraightRamp();
  for (int i = 0; i < kRampLevels; ++i) tinted[RampIndex(i, 2)] = std::uint16_t(i * 150);
  const struct {
    const char* what;
    std::optional<GammaRamp> shownAtTick;  // empty: nothing changed
    bool putBack;
  } cases[] = {
      {"nothing changed", std::nullopt, false},
      {"its reference", Calibrated(), true},
      {"the straight ramp", StraightRamp(), true},
      {"another program's ramp", tinted, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Desk desk(2);
    desk.Gamma(1).shown = Calibrated();
    DisplaySet& set = desk.Start();
    set.ApplyBrightness(-20);
    const GammaRamp mine = Brightness(Calibrated(), -20);
    for (std::size_t k : {0u, 1u}) desk.Gamma(k).eightBitReadback = true;  // as Wine reads back
    const std::size_t writes[] = {desk.Gamma(0).writes.size(), desk.Gamma(1).writes.size()};
    if (c.shownAtTick) desk.Gamma(1).shown = *c.shownAtTick;
    set.OnKeepOnTopTick();
    set.OnKeepOnTopTick();
    EXPECT_EQ(desk.Gamma(0).writes.size(), writes[0]) << "display 1 was left as it was";
    const bool another = c.shownAtTick == tinted;
    EXPECT_EQ(desk.Gamma(1).writes.size(), writes[1] + (c.putBack ? 1 : 0));
    EXPECT_EQ(desk.Gamma(1).shown, another ? tinted : mine);
    const std::string told = "另一个程序改了显示器 2 的颜色，Lumenor 不再改它，直到你再调节。";
    EXPECT_EQ(desk.Balloons(), another ? std::vector<std::string>{told} : std::vector<std::string>{});
    if (!another) continue;
    // Never fought over: not at a reset signal either, only at the user's next adjustment.
    desk.Signal(0x2B1, 0x8);
    desk.Tick();
    desk.Tick();
    EXPECT_EQ(desk.Gamma(1).writes.size(), writes[1]);
    set.ApplyBrightness(-25);
    EXPECT_EQ(desk.Gamma(1).shown, Brightness(Calibrated(), -25));
  }
}

TEST(DisplaySet_Refusal, OneBalloonPerEpisodeUntilARampIsTakenAgain) {
  Desk desk;
  DisplaySet& set = desk.Start();
  desk.Gamma(0).accepts = Darkening;
  for (int v : {5, 10, 25, 50}) set.ApplyBrightness(static_cast<std::int16_t>(v));  // a drag
  ASSERT_EQ(desk.notices.shown.size(), 1u);
  EXPECT_EQ(desk.notices.shown[0].first, "显示器亮度调节增强");
  EXPECT_EQ(desk.notices.shown[0].second,
            "显示器不接受这一设置，画面保持上一次的设置。要更暗或更亮，请用“加强”或按住 Ctrl+← / "
            "Ctrl+→。");
  EXPECT_EQ(desk.Gamma(0).shown, StraightRamp()) << "the display keeps its ramp";

  set.ApplyColours({-5, 0, 0});  // taken: the episode ends
  set.ApplyColours({5, 0, 0});
  set.ApplyColours({10, 0, 0});
  EXPECT_EQ(desk.notices.shown.size(), 2u);

  desk.Gamma(0).readable = false;  // a refusal that cannot be read back is still a refusal
  set.ApplyBrightness(-5);
  set.ApplyBrightness(5);
  EXPECT_EQ(desk.notices.shown.size(), 3u);
}

TEST(DisplaySet_Refusal, WhatTheDisplayShowsDecidesNotWhatItAnswers) {
  // A no for a ramp the display shows is no refusal.
  Desk no;
  no.Gamma(0).answersNoWhenApplied = true;
  no.Gamma(0).eightBitReadback = true;  // so the low bytes read back differ from those written
  no.Start().ApplyBrightness(-7);
  EXPECT_TRUE(no.notices.shown.empty());
  EXPECT_EQ(no.set->LastApplied(0), Brightness(StraightRamp(), -7));

  // A yes for a ramp the display did not take is a refusal: told, and not the ramp put back.
  // Wine refuses brightening; stock Windows refuses what strays far from the straight ramp.
  const std::pair<std::function<bool(const GammaRamp&)>, std::int16_t> rules[] = {
      {Darkening, 10}, {testing::WindowsAccepts, -50}};
  for (const auto& [rule, refusedValue] : rules) {
    SCOPED_TRACE(::testing::Message() << "refusing brightness " << refusedValue);
    Desk yes;
    DisplaySet& set = yes.Start();
    FakeGammaDevice& display = yes.Gamma(0);
    display.accepts = rule;
    display.answersYesWhenRefused = true;
    set.ApplyBrightness(-10);
    set.ApplyBrightness(refusedValue);
    EXPECT_EQ(yes.Balloons(), std::vector<std::string>{std::string(kRampRefusedText)});
    display.shown = SystemRamp();
    yes.Signal(0x2B1, 0x8);
    EXPECT_EQ(display.shown, Brightness(StraightRamp(), -10));
  }
}

TEST(DisplaySet_EveryDisplay, EachTakesTheOperationOnItsOwnReferenceThroughItsOwnContext) {
  Desk desk(2);
  desk.Gamma(1).shown = Calibrated();
  DisplaySet& set = desk.Start();
  EXPECT_EQ(desk.displays.opened, (std::vector<std::string>{"\\\\.\\DISPLAY1", "\\\\.\\DISPLAY2"}));
  set.ApplyBrightness(-30);
  EXPECT_EQ(desk.Gamma(0).shown, Brightness(StraightRamp(), -30));
  EXPECT_EQ(desk.Gamma(1).shown, Brightness(Calibrated(), -30));

  // A restore without the file gives each display its own reference; with it, the file's ramp.
  set.RestoreReferences(nullptr);
  EXPECT_EQ(desk.Gamma(0).shown, StraightRamp());
  EXPECT_EQ(desk.Gamma(1).shown, Calibrated());
  const GammaRamp file = SystemRamp();
  set.RestoreReferences(&file);
  EXPECT_EQ(desk.Gamma(0).shown, file);
  EXPECT_EQ(desk.Gamma(1).shown, file);
  EXPECT_EQ(set.Choices()[0].label, "显示器 1：1280×800（主）");
  EXPECT_EQ(set.Choices()[1].label, "显示器 2：1024×768");
}

TEST(DisplaySet_EveryDisplay, RefusalsNameTheDisplaysWhenOnlySomeRefuse) {
  Desk desk(3);
  DisplaySet& set = desk.Start();
  desk.Gamma(1).accepts = Darkening;
  set.ApplyBrightness(20);
  EXPECT_EQ(desk.Gamma(0).shown, Brightness(StraightRamp(), 20));
  EXPECT_EQ(desk.Gamma(1).shown, StraightRamp());
  desk.Gamma(2).accepts = Darkening;
  set.ApplyBrightness(-5);  // taken by all: a new episode
  set.ApplyBrightness(25);
  for (std::size_t k : {0u, 1u, 2u}) desk.Gamma(k).accepts = Darkening;
  set.ApplyBrightness(-5);
  set.ApplyBrightness(30);
  EXPECT_EQ(desk.Balloons(),
            (std::vector<std::string>{"显示器 2" + std::string(kSomeRefusedTail),
                                      "显示器 2、3" + std::string(kSomeRefusedTail),
                                      std::string(kRampRefusedText)}));
}

TEST(DisplaySet_EveryDisplay, AnHdrDisplayIsNeverWrittenAndIsToldOfOncePerRun) {
  Desk desk(2);
  desk.displays.attached[1].hdr = platform::HdrMode::On;
  DisplaySet& set = desk.Start();
  set.ApplyBrightness(-10);
  set.ApplyContrast(120);
  set.RestoreReferences(nullptr);
  EXPECT_TRUE(desk.Gamma(1).writes.empty());
  EXPECT_EQ(desk.Gamma(0).writes.size(), 3u);
  EXPECT_EQ(desk.Balloons(), std::vector<std::string>{"显示器 2" + std::string(kHdrTail)});
  EXPECT_TRUE(desk.overlay.followed.back()[1].included) << "it keeps its overlay";
}

TEST(DisplaySet_EveryDisplay, WhatTheSystemSaysLateOrCannotSayNeverGetsAnHdrOrAnotherDisplaysRamp) {
  // Display 2 (calibrated) takes brightness -10, then the system changes something, then the
  // user sets brightness -20. Expected: what display `display` shows after it.
  struct Case {
    const char* what;
    std::function<void(Desk&)> before;  // before the start
    std::function<void(Desk&)> change;
    std::size_t display;
    std::function<GammaRamp()> shows;
  };
  const Case cases[] = {
      {"HDR switched on with no notice", [](Desk&) {},
       [](Desk& d) { d.displays.attached[1].hdr = platform::HdrMode::On; }, 1,
       [] { return Brightness(Calibrated(), -10); }},
      // Switched to HDR with no notice, and the system reset the ramp: none of the writes that
      // follow a reset may ask the display's HDR state any later than the slider's.
      {"HDR switched on with no notice, then the tick finds the ramp reset", [](Desk&) {},
       [](Desk& d) {
         d.displays.attached[1].hdr = platform::HdrMode::On;
         d.Gamma(1).shown = StraightRamp();
         d.set->OnKeepOnTopTick();
       },
       1, [] { return StraightRamp(); }},
      {"HDR switched on with no notice between a reset signal and its later rewrites",
       [](Desk&) {},
       [](Desk& d) {
         d.Signal(0x2B1, 0x8);
         d.displays.attached[1].hdr = platform::HdrMode::On;
         d.Gamma(1).shown = SystemRamp();
         d.Tick();
         d.Tick();
       },
       1, [] { return SystemRamp(); }},
      {"HDR switched on with no notice while left out, then taken back in", [](Desk&) {},
       [](Desk& d) {
         d.set->SetIncluded("monitor-2", false);
         d.displays.attached[1].hdr = platform::HdrMode::On;
         d.set->SetIncluded("monitor-2", true);
       },
       1, [] { return Calibrated(); }},
      {"HDR switched on with no notice, then left out", [](Desk&) {},
       [](Desk& d) {
         d.displays.attached[1].hdr = platform::HdrMode::On;
         d.set->SetIncluded("monitor-2", false);
       },
       1, [] { return Brightness(Calibrated(), -10); }},
      {"HDR unknown after a notice, on before",
       [](Desk& d) { d.displays.attached[1].hdr = platform::HdrMode::On; },
       [](Desk& d) {
         d.displays.attached[1].hdr = platform::HdrMode::Unknown;
         d.displays.hdrFails = true;
         d.Signal(0x7E, 0);
       },
       1, [] { return Calibrated(); }},
      {"a new display whose HDR is unknown", [](Desk&) {},
       [](Desk& d) {
         d.displays.Attach({2304, 0, 3328, 768}).hdr = platform::HdrMode::Unknown;
         d.displays.Gamma(2).shown = StraightRamp();
         d.displays.hdrFails = true;
         d.set->OnKeepOnTopTick();
       },
       2, [] { return Brightness(StraightRamp(), -20); }},
      {"a name-only identity taken by a display at another place",
       [](Desk& d) {
         for (auto& info : d.displays.attached) {
           info.identity = info.deviceName;
           info.nameOnlyIdentity = true;
         }
       },
       [](Desk& d) {
         d.set->SetIncluded(d.displays.attached[1].identity, false);
         d.displays.attached[1].bounds = {-1024, 0, 0, 768};  // another monitor, same name
         d.Gamma(1).shown = SystemRamp();
         d.set->OnKeepOnTopTick();
       },
       1, [] { return Brightness(SystemRamp(), -20); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Desk desk(2);
    desk.Gamma(1).shown = Calibrated();
    c.before(desk);
    DisplaySet& set = desk.Start();
    set.ApplyBrightness(-10);
    c.change(desk);
    set.ApplyBrightness(-20);
    EXPECT_EQ(desk.Gamma(c.display).shown, c.shows());
  }
}

TEST(DisplaySet_ComeAndGo, ADisplayThatAppearsGetsTheLastOperationOnItsOwnReference) {
  Desk desk;
  DisplaySet& set = desk.Start();
  set.ApplyColours({-20, 0, 10});
  desk.displays.Attach({-1024, 0, 0, 768});  // plugged in left of the primary, no message
  desk.Gamma(1).shown = Calibrated();
  set.OnKeepOnTopTick();
  FakeGammaDevice colours;
  GammaAdjuster expected(colours);
  expected.SavedRamp() = Calibrated();
  expected.ApplyColours({-20, 0, 10});
  EXPECT_EQ(desk.Gamma(1).shown, expected.WorkingRamp());
  ASSERT_EQ(desk.overlay.followed.back().size(), 2u);
  EXPECT_EQ(desk.overlay.followed.back()[1].bounds, (platform::PixelRect{-1024, 0, 0, 768}));
  EXPECT_EQ(desk.overlay.keptOnTop, 1);

  // Gone, it is forgotten; the same monitor back at another place is followed there.
  const platform::DisplayInfo second = desk.displays.attached[1];
  desk.displays.attached.pop_back();
  desk.Signal(0x7E, 0);
  EXPECT_EQ(set.Count(), 1u);
  EXPECT_EQ(desk.overlay.followed.back().size(), 1u);
  desk.displays.attached.push_back(second);
  desk.displays.attached[1].bounds = {1280, 0, 2304, 768};
  set.OnKeepOnTopTick();
  EXPECT_EQ(desk.overlay.followed.back()[1].bounds, (platform::PixelRect{1280, 0, 2304, 768}));
  const std::size_t follows = desk.overlay.followed.size();
  set.OnKeepOnTopTick();
  EXPECT_EQ(desk.overlay.followed.size(), follows) << "an unchanged desk is not followed again";
}

TEST(DisplaySet_ComeAndGo, ADisplayThatComesBackTakesItsReferenceAndChoiceBackHoweverItReturns) {
  // Display 2 goes and comes back twice with Lumenor's ramp still on it (a monitor's sleep).
  enum class Route { Tick, Notice, NewDeviceName };
  for (const Route route : {Route::Tick, Route::Notice, Route::NewDeviceName}) {
    for (const bool leftOut : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "route " << static_cast<int>(route) << " left out "
                                        << leftOut);
      Desk desk(2);
      DisplaySet& set = desk.Start();
      set.ApplyBrightness(-30);
      if (leftOut) set.SetIncluded("monitor-2", false);
      const auto look = [&] {
        route == Route::Notice ? desk.Signal(0x7E, 0) : set.OnKeepOnTopTick();
      };
      for (int blip = 0; blip < 2; ++blip) {
        const GammaRamp kept = desk.Gamma(1).shown;
        platform::DisplayInfo second = desk.displays.attached[1];
        desk.displays.attached.pop_back();
        look();
        if (route == Route::NewDeviceName) {
          second.deviceName = "\\\\.\\DISPLAY" + std::to_string(3 + blip);
          desk.displays.Gamma(second).shown = kept;
        }
        desk.displays.attached.push_back(second);
        look();
      }
      const GammaRamp expected = leftOut ? StraightRamp() : Brightness(StraightRamp(), -30);
      EXPECT_EQ(desk.Gamma(1).shown[RampIndex(255, 0)], leftOut ? 65535 : 45875);
      EXPECT_EQ(desk.Gamma(1).shown, expected);
      EXPECT_EQ(set.Choices()[1].included, !leftOut);
      EXPECT_EQ(desk.overlay.followed.back()[1].included, !leftOut);
    }
  }
}

TEST(DisplaySet_Pacing, ADragFasterThanTheWritesEndsOnItsLastValueWithNoRampWrittenTwice) {
  // Slow displays: this many notifications arrive while the displays take one ramp.
  for (const int perTurn : {1, 3, 7, 40}) {
    SCOPED_TRACE(::testing::Message() << perTurn << " notifications per turn of the loop");
    Desk desk(2);
    desk.paced = true;
    DisplaySet& set = desk.Start();
    int turns = 0;
    for (int v = -1; v >= -30;) {
      for (int k = 0; k < perTurn && v >= -30; ++k, --v) {
        set.ApplyBrightness(static_cast<std::int16_t>(v));
      }
      desk.idle.GoIdle();
      ++turns;
    }
    desk.idle.GoIdle();  // nothing left: nothing more is written
    EXPECT_LE(desk.displays.hdrAsked, turns + 1) << "HDR asked once a write, not a notification";
    for (std::size_t d : {0u, 1u}) {
      const std::vector<GammaRamp>& writes = desk.Gamma(d).writes;
      ASSERT_FALSE(writes.empty());
      EXPECT_EQ(writes.back(), Brightness(StraightRamp(), -30)) << "the exact last value";
      EXPECT_LE(writes.size(), static_cast<std::size_t>(turns) + 1) << "one write a turn";
      for (std::size_t k = 1; k < writes.size(); ++k) {
        EXPECT_NE(writes[k], writes[k - 1]) << "written twice";
        EXPECT_LT(writes[k][RampIndex(255, 0)], writes[k - 1][RampIndex(255, 0)])
            << "an older value after a newer one";
      }
    }
  }
}

TEST(DisplaySet_Choice, ALeftOutDisplayGetsItsReferenceBackAndNothingMoreUntilTakenBackIn) {
  Desk desk(2);
  desk.Gamma(1).shown = Calibrated();
  DisplaySet& set = desk.Start();
  set.ApplyBrightness(-25);
  set.SetIncluded("monitor-2", false);
  EXPECT_EQ(desk.Gamma(1).shown, Calibrated());
  EXPECT_FALSE(desk.overlay.followed.back()[1].included);
  EXPECT_FALSE(set.Choices()[1].included);
  const std::size_t writes = desk.Gamma(1).writes.size();
  set.ApplyContrast(150);
  desk.Signal(0x218, 0x12);
  desk.Tick();
  EXPECT_EQ(desk.Gamma(1).writes.size(), writes);

  // Chosen by its monitor, not its number: the display before it goes, the choice stays.
  desk.displays.attached.erase(desk.displays.attached.begin());
  set.OnKeepOnTopTick();
  EXPECT_FALSE(set.Choices()[0].included);

  set.SetIncluded(set.Choices()[0].identity, true);
  FakeGammaDevice scratch;
  GammaAdjuster expected(scratch);
  expected.SavedRamp() = Calibrated();
  expected.ApplyContrast(150);
  EXPECT_EQ(desk.Gamma(0).shown, expected.WorkingRamp());
  EXPECT_TRUE(desk.overlay.followed.back()[0].included);
}

}  // namespace
}  // namespace lumenor::display
