#include "app/ramp_keeper.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "app/gamma_ramp.h"
#include "app/notices.h"
#include "support/fake_gamma_device.h"
#include "support/fake_notices.h"
#include "support/fake_one_shot_timer.h"

namespace lumenor::app {
namespace {

using testing::FakeGammaDevice;
using testing::FakeNotices;
using testing::FakeOneShotTimer;

GammaRamp Straight() {
  GammaRamp ramp{};
  for (int i = 0; i < kRampLevels; ++i) {
    for (int c = 0; c < kRampChannels; ++c) {
      ramp[RampIndex(i, c)] = static_cast<std::uint16_t>(i * 257);
    }
  }
  return ramp;
}

// What the system puts on the display when it resets it: anything but Lumenor's ramp.
GammaRamp SystemRamp() {
  GammaRamp ramp = Straight();
  for (auto& entry : ramp) entry = static_cast<std::uint16_t>(entry / 3);
  return ramp;
}

// The keeper between the main window's ramp arithmetic and a display that starts straight.
struct Program {
  Program() {
    display.shown = Straight();
    gamma.ReadSavedFromDisplay();
  }

  // The system tells the program, through the messages the listening window hears.
  void Signal(std::uint32_t message, std::uintptr_t wParam) {
    if (DisplayMayHaveBeenReset(message, wParam)) keeper.OnDisplayMayHaveBeenReset();
  }
  void Tick() {
    if (timer.Fire()) keeper.OnRewriteTimer();
  }

  FakeGammaDevice display;
  FakeOneShotTimer timer;
  FakeNotices notices;
  RampKeeper keeper{display, timer, notices};
  GammaAdjuster gamma{keeper};
};

TEST(RampKeeper_Signals, DisplayChangeResumesUnlockAndConsoleConnectAndNothingElse) {
  const std::pair<std::uint32_t, std::uintptr_t> resets[] = {
      {0x7E, 0},      // WM_DISPLAYCHANGE
      {0x218, 0x12},  // WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC
      {0x218, 0x7},   // PBT_APMRESUMESUSPEND
      {0x2B1, 0x8},   // WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK
      {0x2B1, 0x1},   // WTS_CONSOLE_CONNECT
  };
  for (const auto& [message, wParam] : resets) {
    EXPECT_TRUE(DisplayMayHaveBeenReset(message, wParam)) << message << " " << wParam;
  }
  const std::pair<std::uint32_t, std::uintptr_t> others[] = {
      {0x218, 0x4},   // PBT_APMSUSPEND
      {0x218, 0xA},   // PBT_APMPOWERSTATUSCHANGE
      {0x2B1, 0x7},   // WTS_SESSION_LOCK
      {0x2B1, 0x2},   // WTS_CONSOLE_DISCONNECT
      {0x0113, 0x8},  // WM_TIMER
      {0x007D, 0},    // WM_STYLECHANGED, next to WM_DISPLAYCHANGE
  };
  for (const auto& [message, wParam] : others) {
    EXPECT_FALSE(DisplayMayHaveBeenReset(message, wParam)) << message << " " << wParam;
  }
}

TEST(RampKeeper_Reset, BeforeTheFirstWriteOfTheRunNothingIsWritten) {
  Program p;
  p.display.shown = SystemRamp();
  p.Signal(0x7E, 0);
  p.Signal(0x2B1, 0x8);
  EXPECT_TRUE(p.display.writes.empty());
  EXPECT_TRUE(p.timer.starts.empty());
  EXPECT_FALSE(p.keeper.LastApplied());
  EXPECT_EQ(p.display.shown, SystemRamp());
}

TEST(RampKeeper_Reset, EachSignalPutsTheRampTakenLastBackAtOnceAfterHalfASecondAndAfterTwo) {
  Program p;
  p.gamma.ApplyBrightness(-20);
  const GammaRamp mine = p.gamma.WorkingRamp();
  ASSERT_EQ(p.display.shown, mine);

  for (const auto& [message, wParam] : {std::pair<std::uint32_t, std::uintptr_t>{0x7E, 0},
                                        {0x218, 0x12},
                                        {0x218, 0x7},
                                        {0x2B1, 0x8},
                                        {0x2B1, 0x1}}) {
    SCOPED_TRACE(::testing::Message() << "message " << message << " " << wParam);
    p.timer.starts.clear();
    p.display.shown = SystemRamp();
    p.Signal(message, wParam);
    EXPECT_EQ(p.display.shown, mine) << "at once";

    p.display.shown = SystemRamp();  // the system's reset lands a moment after its message
    p.Tick();
    EXPECT_EQ(p.display.shown, mine) << "about 0.5 s later";
    p.display.shown = SystemRamp();
    p.Tick();
    EXPECT_EQ(p.display.shown, mine) << "about 2 s later";
    EXPECT_EQ(p.timer.starts, (std::vector<unsigned>{500, 1500}));

    const std::size_t writes = p.display.writes.size();
    p.display.shown = SystemRamp();  // another program's ramp between signals stays
    p.Tick();
    EXPECT_FALSE(p.timer.pending);
    EXPECT_EQ(p.display.writes.size(), writes) << "no write between signals";
    EXPECT_EQ(p.display.shown, SystemRamp());
  }
  EXPECT_TRUE(p.notices.shown.empty());
}

TEST(RampKeeper_Reset, TheRampPutBackIsTheLastOneTakenNeitherARefusedOneNorALaterRefusal) {
  Program p;
  p.display.accepts = [](const GammaRamp& ramp) { return ramp[RampIndex(0, 0)] == 0; };
  p.gamma.ApplyBrightness(-10);
  const GammaRamp taken = p.gamma.WorkingRamp();
  p.gamma.ApplyBrightness(10);  // lifts black: refused
  ASSERT_NE(p.gamma.WorkingRamp(), taken) << "the table keeps the refused ramp";
  ASSERT_EQ(p.keeper.LastApplied(), taken);
  ASSERT_EQ(p.notices.shown.size(), 1u);

  // While the system holds the display it refuses even our ramp; that is no refusal to tell.
  p.display.shown = SystemRamp();
  p.display.accepts = [](const GammaRamp&) { return false; };
  p.Signal(0x2B1, 0x8);
  EXPECT_EQ(p.display.writes.back(), taken);
  p.display.accepts = [](const GammaRamp&) { return true; };
  p.Tick();
  EXPECT_EQ(p.display.shown, taken);
  EXPECT_EQ(p.notices.shown.size(), 1u) << "a put-back ramp raises no balloon";

  // A restore's write is remembered like a slider's.
  p.gamma.SavedRamp() = SystemRamp();
  p.gamma.ApplySaved();
  p.display.shown = Straight();
  p.Signal(0x7E, 0);
  EXPECT_EQ(p.display.shown, SystemRamp());
}

TEST(RampKeeper_Refusal, OneBalloonPerEpisodeUntilARampIsTakenAgain) {
  Program p;
  // The display under Wine: every brightening refused, darkening taken.
  p.display.accepts = [](const GammaRamp& ramp) { return ramp[RampIndex(0, 0)] == 0; };

  for (int v : {5, 10, 25, 50}) p.gamma.ApplyBrightness(static_cast<std::int16_t>(v));  // a drag
  ASSERT_EQ(p.notices.shown.size(), 1u);
  EXPECT_EQ(p.notices.shown[0].first, "显示器亮度调节增强");
  EXPECT_EQ(p.notices.shown[0].second,
            "显示器不接受这一设置，画面保持上一次的设置。要更暗或更亮，请用“加强”或按住 Ctrl+← / "
            "Ctrl+→。");
  EXPECT_EQ(p.display.shown, Straight()) << "the display keeps its ramp";

  p.gamma.ApplyColours({-5, 0, 0});  // taken: the episode ends
  p.gamma.ApplyColours({5, 0, 0});
  p.gamma.ApplyColours({10, 0, 0});
  EXPECT_EQ(p.notices.shown.size(), 2u);

  p.display.readable = false;  // a refusal that cannot be read back is still a refusal
  p.gamma.ApplyBrightness(-5);
  p.gamma.ApplyBrightness(5);
  EXPECT_EQ(p.notices.shown.size(), 3u);
}

TEST(RampKeeper_Refusal, ANoForARampTheDisplayShowsIsNoRefusal) {
  Program p;
  p.display.answersNoWhenApplied = true;
  p.display.eightBitReadback = true;  // so the low bytes read back differ from those written
  p.gamma.ApplyBrightness(-7);
  const GammaRamp written = p.gamma.WorkingRamp();
  EXPECT_TRUE(p.notices.shown.empty());
  EXPECT_EQ(p.keeper.LastApplied(), written);

  p.display.shown = SystemRamp();
  p.Signal(0x218, 0x12);
  EXPECT_EQ(p.display.shown, written);
  EXPECT_TRUE(p.notices.shown.empty());
}

}  // namespace
}  // namespace lumenor::app
