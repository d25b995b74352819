#include "app/main_window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/main_window_design.h"
#include "app/window_state.h"
#include "display/display_set.h"
#include "support/fake_dialogs.h"
#include "support/fake_main_window_controls.h"
#include "support/host_directory_files.h"
#include "support/one_display_desk.h"

namespace lumenor::app {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialogs;
using testing::FakeGammaDevice;
using testing::FakeMainWindowControls;
using testing::FakeOverlay;
using testing::HostDirectoryFiles;
using testing::OneDisplayDesk;
using namespace display;

constexpr std::string_view kMalformedLead = "默认数据文件有误：";
constexpr std::string_view kMalformedTail = "，只能恢复到本次调置前的状态！";

// A display whose three channels differ, so a channel copied from red shows.
GammaRamp DistinctChannels() {
  GammaRamp ramp{};
  for (int i = 0; i < kRampLevels; ++i) {
    ramp[RampIndex(i, 0)] = static_cast<std::uint16_t>(i * 257);
    ramp[RampIndex(i, 1)] = static_cast<std::uint16_t>(i * 200);
    ramp[RampIndex(i, 2)] = static_cast<std::uint16_t>(65535 - i * 100);
  }
  return ramp;
}

// The ramp in Default.dat's form: one line per level, red, green, blue, in the signed reading.
std::string RampFileText(const GammaRamp& ramp) {
  std::string text;
  for (int i = 0; i < kRampLevels; ++i) {
    for (int c = 0; c < kRampChannels; ++c) {
      text += std::to_string(static_cast<std::int16_t>(ramp[RampIndex(i, c)]));
      text += c < kRampChannels - 1 ? "," : "\r\n";
    }
  }
  return text;
}

// A fresh directory per use, removed afterwards.
class TempDir {
 public:
  TempDir() {
    // Other test runs may share the temporary directory: a random name per use.
    std::random_device random;
    path_ = fs::temp_directory_path() /
            ("lumenor-main-window-" + std::to_string(random()) + "-" + std::to_string(random()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const fs::path& path() const { return path_; }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out << text;
  }

 private:
  fs::path path_;
};

// One loaded main window over fakes, as the shell builds it: controls first, then the window
// attached to them and to the program's darkness road, then the start-up sequence.
struct Loaded {
  explicit Loaded(DisplaySet& displays, dimming::DarknessRoad& road, const fs::path& programDir)
      : programFiles(programDir), window(controls, displays, road, dialogs, programFiles) {
    controls.Attach(window);
    window.Load();
  }
  FakeMainWindowControls controls;
  FakeDialogs dialogs;
  HostDirectoryFiles programFiles;
  MainWindow window;
};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { display.shown = DistinctChannels(); }

  Loaded& Load() {
    loaded = std::make_unique<Loaded>(desk.set, road, programDir.path());
    return *loaded;
  }
  // The display's reference and the ramp last built for it.
  const GammaRamp& Saved() const { return desk.set.Ramps(0).SavedRamp(); }
  const GammaRamp& Working() const { return desk.set.Ramps(0).WorkingRamp(); }

  OneDisplayDesk desk;
  FakeGammaDevice& display = desk.display;
  FakeOverlay& overlay = desk.overlay;
  dimming::DarknessRoad road{overlay, nullptr};  // lives as long as the program
  TempDir programDir;
  std::unique_ptr<Loaded> loaded;
};

// One suite per operation, all over the same fixture.
class MainWindow_Load : public MainWindowTest {};
class MainWindow_OnBrighterHotkey : public MainWindowTest {};
class MainWindow_OnDarkerHotkey : public MainWindowTest {};
class MainWindow_OnDarknessThumbDrag : public MainWindowTest {};
class MainWindow_OnEnhanceClick : public MainWindowTest {};
class MainWindow_OnHideClick : public MainWindowTest {};
class MainWindow_OnSliderChange : public MainWindowTest {};
class MainWindow_OnSliderScroll : public MainWindowTest {};
class MainWindow_RestoreDefaults : public MainWindowTest {};
class MainWindow_RefusingDisplay : public MainWindowTest {};
class MainWindow_RestoreState : public MainWindowTest {};

// ---------------------------------------------------------------------------------------------
// Start-up

TEST_F(MainWindow_Load, ReadsTheDisplayAndWritesNoRamp) {
  const int readsBefore = display.reads;
  Loaded& w = Load();
  EXPECT_EQ(display.reads - readsBefore, 1);
  EXPECT_TRUE(display.writes.empty());
  EXPECT_EQ(Saved(), DistinctChannels());
  EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST_F(MainWindow_Load, SetsRangesNeutralValuesLabelsAndDarknessBar) {
  Loaded& w = Load();
  using S = Slider;
  EXPECT_EQ(w.controls.sliders[S::Brightness].minimum, -50);
  EXPECT_EQ(w.controls.sliders[S::Brightness].maximum, 50);
  EXPECT_EQ(w.controls.sliders[S::Brightness].value, 0);
  EXPECT_EQ(w.controls.sliders[S::Contrast].minimum, 1);
  EXPECT_EQ(w.controls.sliders[S::Contrast].maximum, 300);
  EXPECT_EQ(w.controls.sliders[S::Contrast].value, 100);
  for (S colour : {S::Red, S::Green, S::Blue}) {
    EXPECT_EQ(w.controls.sliders[colour].minimum, -50);
    EXPECT_EQ(w.controls.sliders[colour].maximum, 50);
    EXPECT_EQ(w.controls.sliders[colour].value, 0);
  }
  EXPECT_EQ(w.controls.Label(ValueLabel::Brightness), "0");
  EXPECT_EQ(w.controls.Label(ValueLabel::Contrast), "100");
  EXPECT_EQ(w.controls.darknessValue, -121);
  EXPECT_FALSE(w.controls.enhanceTicked);
}

TEST_F(MainWindow_Load, CreatesTheOverlayHiddenAndLeavesItsLabelAtTheDesignCaption) {
  Loaded& w = Load();
  EXPECT_TRUE(overlay.created);
  EXPECT_FALSE(overlay.showing);
  EXPECT_TRUE(overlay.applied.empty());
  EXPECT_EQ(overlay.opacity, 200);
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "1");
}

TEST_F(MainWindow_Load, AppliesTheStartValueWhenTheOverlayStillShows) {
  // The overlay outlives the window: closed with the box ticked, the window loads again over a
  // showing overlay.
  road.Take({dimming::Request::Kind::Enhance, 1, dimming::Source::Window});
  Loaded& w = Load();
  EXPECT_EQ(overlay.applied, (std::vector<std::int16_t>{-121}));
  EXPECT_EQ(overlay.colour, FakeOverlay::Colour::Black);
  EXPECT_EQ(overlay.opacity, 121);
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "-121");
  EXPECT_TRUE(display.writes.empty());
}

TEST_F(MainWindow_Load, UnreadableDisplayGetsTheStraightRampUntilTheNextLoadReadsIt) {
  display.readable = false;
  {
    Loaded& w = Load();
    EXPECT_EQ(Saved(), StraightRamp()) << "an all-zero reference would turn the screen black";
    EXPECT_TRUE(display.writes.empty());
    w.window.RestoreDefaults();
    EXPECT_EQ(display.writes.back(), StraightRamp());
  }
  display.readable = true;
  display.shown = DistinctChannels();
  Load();
  EXPECT_EQ(Saved(), DistinctChannels());
}

// ---------------------------------------------------------------------------------------------
// Reactions of the controls

TEST_F(MainWindow_OnSliderScroll, BrightnessSetsItsLabelThenAppliesFromRed) {
  Loaded& w = Load();
  std::vector<std::string> labelAtWrite;
  display.accepts = [&](const GammaRamp&) {
    labelAtWrite.push_back(w.controls.Label(ValueLabel::Brightness));
    return true;
  };
  w.controls.UserMovesSlider(Slider::Brightness, -50);
  ASSERT_EQ(display.writes.size(), 1u);
  EXPECT_EQ(labelAtWrite, (std::vector<std::string>{"-50"}));
  const GammaRamp& out = display.writes.back();
  // Level 64 of red is 0x4040; -50 halves it, on every channel.
  for (int c = 0; c < kRampChannels; ++c) {
    EXPECT_EQ(out[RampIndex(64, c)], 0x2020) << "channel " << c;
    EXPECT_EQ(out[RampIndex(255, c)], 0x7FFF) << "channel " << c;
  }
}

TEST_F(MainWindow_OnSliderScroll, ContrastSetsItsLabelThenAppliesContrast) {
  Loaded& w = Load();
  std::vector<std::string> labelAtWrite;
  display.accepts = [&](const GammaRamp&) {
    labelAtWrite.push_back(w.controls.Label(ValueLabel::Contrast));
    return true;
  };
  w.controls.UserMovesSlider(Slider::Contrast, 50);
  ASSERT_EQ(display.writes.size(), 1u);
  EXPECT_EQ(labelAtWrite, (std::vector<std::string>{"50"}));
  const GammaRamp& out = display.writes.back();
  EXPECT_EQ(out[RampIndex(64, 0)], 0x2020);  // 0x4040 at half
  EXPECT_EQ(out[RampIndex(0, 2)], 0x0000);   // 0xFFFF, -1 in the signed reading, halves to 0
}

TEST_F(MainWindow_OnSliderChange, BrightnessAndContrastSetByTheProgramWriteNothing) {
  Loaded& w = Load();
  w.controls.SetSliderValue(Slider::Brightness, 30);
  w.controls.SetSliderValue(Slider::Contrast, 250);
  EXPECT_TRUE(display.writes.empty());
  EXPECT_EQ(w.controls.Label(ValueLabel::Brightness), "0");
  EXPECT_EQ(w.controls.Label(ValueLabel::Contrast), "100");
}

TEST_F(MainWindow_OnSliderChange, AnyColourMemberRebuildsAllThreeChannels) {
  Loaded& w = Load();
  const GammaRamp saved = DistinctChannels();
  w.controls.SetSliderValue(Slider::Green, -50);  // set by the program: the change still applies
  ASSERT_EQ(display.writes.size(), 1u);
  w.controls.UserMovesSlider(Slider::Blue, 50);
  ASSERT_EQ(display.writes.size(), 2u);
  const GammaRamp& out = display.writes.back();
  for (int i = 0; i < kRampLevels; ++i) {
    ASSERT_EQ(out[RampIndex(i, 0)], saved[RampIndex(i, 0)]) << "red, level " << i;
    ASSERT_EQ(out[RampIndex(i, 1)],
              LevelToWord(AdjustLevel(-50, WordToLevel(saved[RampIndex(i, 1)]))))
        << "green, level " << i;
    ASSERT_EQ(out[RampIndex(i, 2)],
              LevelToWord(AdjustLevel(50, WordToLevel(saved[RampIndex(i, 2)]))))
        << "blue, level " << i;
  }
}

TEST_F(MainWindow_OnSliderChange, BrightnessAfterColoursDiscardsTheColours) {
  Loaded& w = Load();
  w.controls.UserMovesSlider(Slider::Red, 20);
  w.controls.UserMovesSlider(Slider::Brightness, 0);  // no change, but a scroll
  const GammaRamp& out = display.writes.back();
  const GammaRamp saved = DistinctChannels();
  for (int i = 0; i < kRampLevels; ++i) {
    for (int c = 0; c < kRampChannels; ++c) ASSERT_EQ(out[RampIndex(i, c)], saved[RampIndex(i, 0)]);
  }
  EXPECT_EQ(w.controls.sliders[Slider::Red].value, 20);
}

TEST_F(MainWindow_OnEnhanceClick, ShowsAndHidesWithoutApplyingTheBar) {
  Loaded& w = Load();
  w.controls.UserClicksEnhance();
  EXPECT_TRUE(overlay.showing);
  EXPECT_TRUE(overlay.applied.empty());  // shows as it was last left: grey at 200
  EXPECT_EQ(overlay.opacity, 200);
  w.controls.UserClicksEnhance();
  EXPECT_FALSE(overlay.showing);
  EXPECT_TRUE(display.writes.empty());
}

TEST_F(MainWindow_OnDarknessThumbDrag, ActsOnlyWhileTheOverlayShows) {
  Loaded& w = Load();
  w.controls.UserDragsDarkness(-30);
  EXPECT_TRUE(overlay.applied.empty());
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "1");

  w.controls.UserClicksEnhance();
  w.controls.UserDragsDarkness(-5);
  EXPECT_EQ(overlay.colour, FakeOverlay::Colour::Black);
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "-5");
  w.controls.UserDragsDarkness(0);
  EXPECT_EQ(overlay.colour, FakeOverlay::Colour::Black);  // 0 keeps the colour
  EXPECT_EQ(overlay.opacity, 0);
  EXPECT_TRUE(overlay.showing);
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "0");
  w.controls.UserDragsDarkness(255);
  EXPECT_EQ(overlay.colour, FakeOverlay::Colour::White);
  EXPECT_EQ(overlay.opacity, 255);
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "255");
  EXPECT_EQ(overlay.applied, (std::vector<std::int16_t>{-5, 0, 255}));
  EXPECT_TRUE(display.writes.empty());
}

TEST_F(MainWindow_OnHideClick, HidesTheWindowAndKeepsEverything) {
  Loaded& w = Load();
  w.controls.UserMovesSlider(Slider::Brightness, 12);
  const std::size_t writes = display.writes.size();
  w.window.OnHideClick();
  EXPECT_FALSE(w.controls.windowVisible);
  EXPECT_EQ(w.controls.sliders[Slider::Brightness].value, 12);
  EXPECT_EQ(w.controls.Label(ValueLabel::Brightness), "12");
  EXPECT_EQ(display.writes.size(), writes);
}

// ---------------------------------------------------------------------------------------------
// Restore

TEST_F(MainWindow_RestoreDefaults, NonZeroColourSlidersWriteTheirRampsThenSaved) {
  Loaded& w = Load();
  w.controls.UserMovesSlider(Slider::Red, 20);
  w.controls.UserMovesSlider(Slider::Blue, -10);
  w.controls.UserMovesSlider(Slider::Brightness, 7);
  w.controls.UserMovesSlider(Slider::Contrast, 150);
  display.writes.clear();

  w.window.RestoreDefaults();

  const GammaRamp saved = DistinctChannels();
  // Red back to 0 rebuilds with blue still at -10; blue back to 0 gives the saved ramp; the final
  // write is SavedRamp. Brightness and contrast set by the program write nothing.
  ASSERT_EQ(display.writes.size(), 3u);
  GammaRamp blueOnly = saved;
  for (int i = 0; i < kRampLevels; ++i) {
    blueOnly[RampIndex(i, 2)] = LevelToWord(AdjustLevel(-10, WordToLevel(saved[RampIndex(i, 2)])));
  }
  EXPECT_EQ(display.writes[0], blueOnly);
  EXPECT_EQ(display.writes[1], saved);
  EXPECT_EQ(display.writes[2], saved);
  EXPECT_EQ(display.shown, saved);
}

TEST_F(MainWindow_RestoreDefaults, ResetsSlidersLabelsAndDarknessBar) {
  Loaded& w = Load();
  w.controls.UserMovesSlider(Slider::Brightness, -33);
  w.controls.UserMovesSlider(Slider::Contrast, 280);
  w.controls.UserMovesSlider(Slider::Green, 44);
  w.controls.darknessValue = -200;

  w.window.RestoreDefaults();

  EXPECT_EQ(w.controls.sliders[Slider::Brightness].value, 0);
  EXPECT_EQ(w.controls.sliders[Slider::Contrast].value, 100);
  EXPECT_EQ(w.controls.sliders[Slider::Green].value, 0);
  EXPECT_EQ(w.controls.Label(ValueLabel::Brightness), "0");
  EXPECT_EQ(w.controls.Label(ValueLabel::Contrast), "100");
  EXPECT_EQ(w.controls.darknessValue, 0);
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "1");  // overlay hidden: label untouched
}

TEST_F(MainWindow_RestoreDefaults, WhileTheOverlayShowsMakesItTransparentAndKeepsIt) {
  Loaded& w = Load();
  w.controls.UserClicksEnhance();
  w.controls.UserDragsDarkness(-90);
  w.window.RestoreDefaults();
  EXPECT_TRUE(overlay.showing);
  EXPECT_TRUE(w.controls.enhanceTicked);
  EXPECT_EQ(overlay.applied.back(), 0);
  EXPECT_EQ(overlay.opacity, 0);
  EXPECT_EQ(overlay.colour, FakeOverlay::Colour::Black);
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "0");
}

TEST_F(MainWindow_RestoreDefaults, MissingFileShowsItsMessageOnEveryRestore) {
  Loaded& w = Load();
  w.controls.UserMovesSlider(Slider::Brightness, -40);
  w.window.RestoreDefaults();
  w.controls.UserMovesSlider(Slider::Contrast, 10);
  w.window.RestoreDefaults();

  ASSERT_EQ(w.dialogs.shown.size(), 2u);
  for (const FakeDialogs::Message& m : w.dialogs.shown) {
    EXPECT_EQ(m.text, "未找到默认数据文件，只能恢复到本次调置前的状态！");
    EXPECT_EQ(m.caption, "系统提示");
    EXPECT_EQ(m.icon, platform::MessageIcon::Exclamation);
  }
  EXPECT_EQ(Saved(), DistinctChannels());
  EXPECT_EQ(display.shown, DistinctChannels());
}

TEST_F(MainWindow_RestoreDefaults, GoodFileBecomesSavedRampAndBrightnessCopiesItsRed) {
  Loaded& w = Load();
  GammaRamp file{};
  for (int i = 0; i < kRampLevels; ++i) {
    file[RampIndex(i, 0)] = static_cast<std::uint16_t>(65535 - i * 257);  // inverted red
    file[RampIndex(i, 1)] = static_cast<std::uint16_t>(i * 128);
    file[RampIndex(i, 2)] = static_cast<std::uint16_t>(i * 257);
  }
  programDir.Write("Default.dat", RampFileText(file) + "1,2,3\r\nnot read\r\n");

  w.window.RestoreDefaults();

  EXPECT_TRUE(w.dialogs.shown.empty());
  EXPECT_EQ(Saved(), file);
  ASSERT_FALSE(display.writes.empty());
  EXPECT_EQ(display.writes.back(), file);

  w.controls.UserMovesSlider(Slider::Brightness, 0);
  for (int i = 0; i < kRampLevels; ++i) {
    for (int c = 0; c < kRampChannels; ++c) {
      ASSERT_EQ(display.writes.back()[RampIndex(i, c)], file[RampIndex(i, 0)]);
    }
  }
}

TEST_F(MainWindow_RestoreDefaults, BadFileKeepsSavedRampSaysWhyAndStillApplies) {
  Loaded& w = Load();
  w.controls.UserMovesSlider(Slider::Brightness, 25);
  // Two good lines, then a field that is not a number, then too few numbers in all.
  programDir.Write("Default.dat", "0,0,0\r\n257,257,257\r\n514,abc,514\r\n");

  w.window.RestoreDefaults();

  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  const FakeDialogs::Message& m = w.dialogs.shown[0];
  EXPECT_EQ(m.caption, "系统提示");
  EXPECT_EQ(m.icon, platform::MessageIcon::Exclamation);
  ASSERT_GT(m.text.size(), kMalformedLead.size() + kMalformedTail.size());
  EXPECT_EQ(m.text.substr(0, kMalformedLead.size()), kMalformedLead);
  EXPECT_EQ(m.text.substr(m.text.size() - kMalformedTail.size()), kMalformedTail);
  EXPECT_EQ(Saved(), DistinctChannels());
  EXPECT_EQ(display.writes.back(), DistinctChannels());
}

TEST_F(MainWindow_RestoreDefaults, ReadsDefaultDatFromTheProgramDirectoryOnly) {
  GammaRamp file{};
  for (int i = 0; i < kRampLevels; ++i) {
    for (int c = 0; c < kRampChannels; ++c)
      file[RampIndex(i, c)] = static_cast<std::uint16_t>(i * 256);
  }
  TempDir workingDir;
  workingDir.Write("Default.dat", RampFileText(file));
  const fs::path previous = fs::current_path();
  fs::current_path(workingDir.path());

  Loaded& w = Load();
  w.window.RestoreDefaults();
  const std::size_t messagesWithFileOnlyInWorkingDir = w.dialogs.shown.size();
  const GammaRamp savedWithFileOnlyInWorkingDir = Saved();

  programDir.Write("Default.dat", RampFileText(file));
  fs::remove(workingDir.path() / "Default.dat");
  w.window.RestoreDefaults();
  fs::current_path(previous);

  EXPECT_EQ(messagesWithFileOnlyInWorkingDir, 1u);
  EXPECT_EQ(savedWithFileOnlyInWorkingDir, DistinctChannels());
  EXPECT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(Saved(), file);
}

// ---------------------------------------------------------------------------------------------
// Hotkeys: the darkness bar and the overlay only

TEST_F(MainWindow_OnDarkerHotkey, TicksTheBoxShowsTheOverlayAndStepsFromTheStartValue) {
  Loaded& w = Load();
  w.controls.UserMovesSlider(Slider::Green, 15);
  const std::size_t writes = display.writes.size();

  w.window.OnDarkerHotkey();

  EXPECT_TRUE(w.controls.enhanceTicked);
  EXPECT_TRUE(overlay.showing);
  EXPECT_EQ(w.controls.darknessValue, -126);
  EXPECT_EQ(overlay.applied, (std::vector<std::int16_t>{-126}));
  EXPECT_EQ(overlay.colour, FakeOverlay::Colour::Black);
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "-126");
  EXPECT_EQ(display.writes.size(), writes);
  EXPECT_EQ(w.controls.sliders[Slider::Green].value, 15);
}

TEST_F(MainWindow_OnBrighterHotkey, ShowsTheOverlayAgainAfterTheBoxWasClearedByHand) {
  Loaded& w = Load();
  w.window.OnDarkerHotkey();
  w.controls.UserClicksEnhance();  // clears it: the overlay hides
  ASSERT_FALSE(overlay.showing);

  w.window.OnBrighterHotkey();

  EXPECT_TRUE(w.controls.enhanceTicked);
  EXPECT_TRUE(overlay.showing);
  EXPECT_EQ(w.controls.darknessValue, -121);
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "-121");
  EXPECT_TRUE(display.writes.empty());
}

// ---------------------------------------------------------------------------------------------
// Close and load again

TEST_F(MainWindow_Load, AfterCloseRereadsTheRampLastAppliedAndResetsTheSliders) {
  {
    Loaded& first = Load();
    first.controls.UserMovesSlider(Slider::Brightness, -20);
    first.controls.UserMovesSlider(Slider::Green, 30);
    first.controls.UserMovesSlider(Slider::Contrast, 180);
  }
  const GammaRamp lastApplied = display.writes.back();
  ASSERT_NE(lastApplied, DistinctChannels());
  display.writes.clear();

  Loaded& second = Load();  // a fresh window over fresh controls

  EXPECT_EQ(Saved(), lastApplied);
  EXPECT_TRUE(display.writes.empty());
  EXPECT_EQ(second.controls.sliders[Slider::Brightness].value, 0);
  EXPECT_EQ(second.controls.sliders[Slider::Contrast].value, 100);
  EXPECT_EQ(second.controls.sliders[Slider::Green].value, 0);
  EXPECT_EQ(second.controls.Label(ValueLabel::Brightness), "0");
  EXPECT_EQ(second.controls.Label(ValueLabel::Contrast), "100");
  EXPECT_EQ(second.controls.darknessValue, -121);
}

// ---------------------------------------------------------------------------------------------
// A display that refuses every ramp

TEST_F(MainWindow_RefusingDisplay, KeepsTheSavedRampAndTheDisplayWhileEverySliderStillMoves) {
  Loaded& w = Load();
  display.accepts = [](const GammaRamp&) { return false; };
  const struct {
    Slider slider;
    int value;
  } moves[] = {{Slider::Brightness, -30}, {Slider::Contrast, 250}, {Slider::Red, 20},
               {Slider::Green, -10},      {Slider::Blue, 50},      {Slider::Brightness, 40}};
  for (const auto& move : moves) {
    const std::size_t writes = display.writes.size();
    w.controls.UserMovesSlider(move.slider, move.value);
    EXPECT_EQ(w.controls.sliders[move.slider].value, move.value);
    ASSERT_EQ(display.writes.size(), writes + 1) << "every move still asks the display";
    EXPECT_EQ(Working(), display.writes.back());  // what was built stays
    EXPECT_EQ(Saved(), DistinctChannels());
    EXPECT_EQ(display.shown, DistinctChannels());
  }
  EXPECT_EQ(w.controls.Label(ValueLabel::Brightness), "40");
  EXPECT_EQ(w.controls.Label(ValueLabel::Contrast), "250");

  w.window.OnDarkerHotkey();
  EXPECT_EQ(w.controls.Label(ValueLabel::Darkness), "-126");
  w.window.RestoreDefaults();  // no Default.dat: its message, and the saved ramp is offered again
  EXPECT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.controls.sliders[Slider::Brightness].value, 0);
  EXPECT_EQ(w.controls.Label(ValueLabel::Brightness), "0");
  EXPECT_EQ(w.controls.sliders[Slider::Blue].value, 0);
  EXPECT_EQ(display.writes.back(), DistinctChannels());
  EXPECT_EQ(Saved(), DistinctChannels());
  EXPECT_EQ(display.shown, DistinctChannels());
}

// ---------------------------------------------------------------------------------------------
// The design: the window finds each control the core names by looking it up in the rows

TEST(MainWindowDesign_Rows, NameEachSliderLabelAndRoleOnceOnAControlOfItsKind) {
  using K = ControlKind;
  using R = ControlRole;
  const std::vector<std::pair<ControlKind, std::vector<Role>>> named = {
      {K::Slider, {Slider::Brightness, Slider::Contrast, Slider::Red, Slider::Green, Slider::Blue}},
      {K::Label, {ValueLabel::Brightness, ValueLabel::Contrast, ValueLabel::Darkness}},
      {K::Button, {R::Restore, R::Exit, R::HideToTray}},
      {K::CheckBox, {R::Enhance}},
      {K::ScrollBar, {R::Darkness}},
      {K::Hotkey, {R::DarkerHotkey, R::BrighterHotkey}}};
  for (const auto& [kind, roles] : named) {
    for (const Role& role : roles) {
      std::vector<ControlKind> kinds;  // of the rows that name the role
      for (const ControlDesign& row : kMainWindowDesign.controls) {
        if (row.role == role) kinds.push_back(row.kind);
      }
      EXPECT_EQ(kinds, std::vector<ControlKind>{kind})
          << "role " << role.index() << "."
          << std::visit([](auto r) { return static_cast<int>(r); }, role);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// "启动时恢复上次的设置"

TEST_F(MainWindow_RestoreState, BringsBackTheLastEndAndNoOverlayDarkerThan160) {
  struct Row {
    settings::WindowState last;
    int darkness;  // on the bar and the overlay
  } rows[] = {
      // First: the overlay the desk shares between rows has not been shown yet.
      {{.brightness = 10, .darkness = -100, .enhance = false}, -100},
      {{.brightness = -20, .contrast = 150, .red = 5, .green = -5, .blue = 3, .darkness = -255,
        .enhance = true},
       -160},
      {{.darkness = 200, .enhance = true}, 160},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.darkness);
    Loaded& w = Load();
    const std::size_t writesBefore = display.writes.size();
    RestoreState(w.controls, w.window, road, row.last);
    const settings::WindowState now = StateOf(w.controls, road);
    EXPECT_EQ(now, (settings::WindowState{row.last.brightness, row.last.contrast, row.last.red,
                                          row.last.green, row.last.blue, row.darkness,
                                          row.last.enhance}));
    EXPECT_EQ(w.controls.Label(ValueLabel::Brightness), std::to_string(row.last.brightness));
    EXPECT_EQ(overlay.showing, row.last.enhance);
    if (row.last.enhance) {
      EXPECT_EQ(overlay.opacity, std::abs(row.darkness));
    }
    EXPECT_GT(display.writes.size(), writesBefore) << "the restored sliders reached no ramp";
  }
}

}  // namespace
}  // namespace lumenor::app
