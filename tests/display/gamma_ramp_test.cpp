#include "display/gamma_ramp.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <ostream>

#include "support/fake_gamma_device.h"

namespace lumenor::display {
namespace {

using testing::FakeGammaDevice;

// A ramp whose three channels differ: red straight, green a gamma curve, blue a darker straight
// line, so an operation that mixes channels up shows.
GammaRamp DistinctChannels() {
  GammaRamp ramp{};
  for (int i = 0; i < kRampLevels; ++i) {
    ramp[RampIndex(i, 0)] = static_cast<std::uint16_t>(i * 257);
    ramp[RampIndex(i, 1)] =
        static_cast<std::uint16_t>(std::lround(65535.0 * std::pow(i / 255.0, 1.8)));
    ramp[RampIndex(i, 2)] = static_cast<std::uint16_t>(i * 200);
  }
  return ramp;
}

// ---------------------------------------------------------------------------------------------
// The level reading.

TEST(GammaRamp_WordToLevel, Entries32768AndAboveLoseOne) {
  EXPECT_EQ(WordToLevel(0x0000), 0);
  EXPECT_EQ(WordToLevel(0x4000), 16384);
  EXPECT_EQ(WordToLevel(0x7FFF), 32767);
  EXPECT_EQ(WordToLevel(0x8000), 32767);
  EXPECT_EQ(WordToLevel(0x8001), 32768);
  EXPECT_EQ(WordToLevel(0xFFFF), 65534);
}

TEST(GammaRamp_LevelToWord, RoundTripGivesEveryEntryBackExcept0x8000Becomes0x7FFF) {
  for (std::uint32_t entry = 0; entry <= 0xFFFF; ++entry) {
    const auto word = static_cast<std::uint16_t>(entry);
    const std::uint16_t expected = entry == 0x8000 ? 0x7FFF : word;
    ASSERT_EQ(LevelToWord(WordToLevel(word)), expected) << "entry " << entry;
  }
}

TEST(GammaRamp_LevelToWord, LevelsOutsideTheRangeAreHeldAtTheNearerEnd) {
  // 65535 would otherwise come out as 0x0000: the top of the ramp turned black.
  EXPECT_EQ(LevelToWord(65535), 0xFFFF);
  EXPECT_EQ(LevelToWord(70000), 0xFFFF);
  EXPECT_EQ(LevelToWord(-1), 0x0000);
}

TEST(GammaRamp_AdjustLevel, SettingsBeyondTheSlidersAreHeldAtTheirEnds) {
  for (const std::int32_t level : {0, 1, 16384, 32767, 65533, 65534}) {
    EXPECT_EQ(AdjustLevel(51, level), AdjustLevel(50, level)) << level;
    EXPECT_EQ(AdjustLevel(300, level), AdjustLevel(50, level)) << level;
    EXPECT_EQ(AdjustLevel(-32768, level), AdjustLevel(-50, level)) << level;
  }
  // Without that, 65534 at 51 would round to 65535 and come out as a black 0x0000.
  EXPECT_EQ(LevelToWord(AdjustLevel(51, 65534)), 0xFFFF);
}

// The formulas as written: the exact 32-bit product, the division by 100 and the subtraction in
// double precision, halves to the even integer (the default rounding mode).
std::int32_t AdjustLevelInDouble(int v, std::int32_t level) {
  if (v < 0) return static_cast<std::int32_t>(std::nearbyint(((100 + v) * level) / 100.0));
  return static_cast<std::int32_t>(std::nearbyint(65535 - ((100 - v) * (65535 - level)) / 100.0));
}

std::uint16_t ContrastInDouble(int contrast, std::uint16_t entry) {
  double x = (contrast * std::int32_t{static_cast<std::int16_t>(entry)}) / 100.0;
  if (x > 32767) x = 32767;
  if (x < -32767) x = -32767;
  return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::nearbyint(x)));
}

TEST(GammaRamp_AdjustLevel, AgreesWithTheFormulaInDoubleForEverySettingAndLevel) {
  for (int v = -50; v <= 50; ++v) {
    if (v == 0) continue;
    for (std::int32_t level = 0; level <= 65534; ++level) {
      ASSERT_EQ(AdjustLevel(static_cast<std::int16_t>(v), level), AdjustLevelInDouble(v, level))
          << "setting " << v << " level " << level;
    }
  }
}

TEST(GammaAdjuster_ApplyColours, AgreesWithTheFormulaInDoubleForEverySettingAndEntry) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  for (std::uint32_t first = 0; first <= 0xFFFF; first += 768) {
    for (std::uint32_t k = 0; k < 768; ++k) {
      adjuster.SavedRamp()[k] = static_cast<std::uint16_t>((first + k) & 0xFFFF);
    }
    for (int v = -50; v <= 50; ++v) {
      const auto setting = static_cast<std::int16_t>(v);
      adjuster.ApplyColours({setting, setting, setting});
      for (std::size_t k = 0; k < 768; ++k) {
        const std::uint16_t entry = adjuster.SavedRamp()[k];
        const std::uint16_t expected =
            v == 0 ? entry : LevelToWord(AdjustLevelInDouble(v, WordToLevel(entry)));
        ASSERT_EQ(adjuster.WorkingRamp()[k], expected) << "setting " << v << " entry " << entry;
      }
    }
    display.writes.clear();
  }
}

TEST(GammaAdjuster_ApplyBrightness, AgreesWithTheFormulaInDoubleForEverySettingAndEntry) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  for (std::uint32_t first = 0; first <= 0xFFFF; first += 256) {
    for (int i = 0; i < kRampLevels; ++i) {
      adjuster.SavedRamp()[RampIndex(i, 0)] = static_cast<std::uint16_t>(first + i);
    }
    for (int v = -50; v <= 50; ++v) {
      adjuster.ApplyBrightness(static_cast<std::int16_t>(v));
      for (int i = 0; i < kRampLevels; ++i) {
        const std::uint16_t entry = adjuster.SavedRamp()[RampIndex(i, 0)];
        const std::uint16_t expected =
            v == 0 ? entry : LevelToWord(AdjustLevelInDouble(v, WordToLevel(entry)));
        ASSERT_EQ(adjuster.WorkingRamp()[RampIndex(i, 2)], expected)
            << "setting " << v << " entry " << entry;
      }
    }
    display.writes.clear();
  }
}

TEST(GammaAdjuster_ApplyContrast, AgreesWithTheFormulaInDoubleForEveryContrastAndEntry) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  for (std::uint32_t first = 0; first <= 0xFFFF; first += 768) {
    for (std::uint32_t k = 0; k < 768; ++k) {
      adjuster.SavedRamp()[k] = static_cast<std::uint16_t>((first + k) & 0xFFFF);
    }
    for (int contrast = 1; contrast <= 300; ++contrast) {
      adjuster.ApplyContrast(static_cast<std::int16_t>(contrast));
      for (std::size_t k = 0; k < 768; ++k) {
        const std::uint16_t entry = adjuster.SavedRamp()[k];
        ASSERT_EQ(adjuster.WorkingRamp()[k], ContrastInDouble(contrast, entry))
            << "contrast " << contrast << " entry " << entry;
      }
    }
    display.writes.clear();
  }
}

// ---------------------------------------------------------------------------------------------
// The worked brightness values: one entry in, the entry out at each setting. The same arithmetic
// serves ApplyBrightness (from the red channel) and BuildChannel (each channel from itself).

struct LevelCase {
  std::uint16_t entry;
  std::int16_t setting;
  std::uint16_t expected;
};

std::ostream& operator<<(std::ostream& out, const LevelCase& c) {
  return out << std::hex << "entry 0x" << c.entry << " at " << std::dec << c.setting;
}

class GammaAdjuster_LevelTable : public ::testing::TestWithParam<LevelCase> {};

TEST_P(GammaAdjuster_LevelTable, FormulaGivesTheWorkedEntry) {
  const LevelCase c = GetParam();
  EXPECT_EQ(LevelToWord(AdjustLevel(c.setting, WordToLevel(c.entry))), c.expected);
}

TEST_P(GammaAdjuster_LevelTable, BrightnessWritesTheWorkedEntryToEveryChannel) {
  const LevelCase c = GetParam();
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();
  adjuster.SavedRamp()[RampIndex(77, 0)] = c.entry;

  adjuster.ApplyBrightness(c.setting);

  for (int channel = 0; channel < kRampChannels; ++channel) {
    EXPECT_EQ(adjuster.WorkingRamp()[RampIndex(77, channel)], c.expected) << "channel " << channel;
  }
  ASSERT_EQ(display.writes.size(), 1u);
  EXPECT_EQ(display.writes[0], adjuster.WorkingRamp());
}

TEST_P(GammaAdjuster_LevelTable, ColoursWriteTheWorkedEntryOnItsOwnChannel) {
  const LevelCase c = GetParam();
  for (int channel = 0; channel < kRampChannels; ++channel) {
    FakeGammaDevice display;
    GammaAdjuster adjuster(display);
    adjuster.SavedRamp() = DistinctChannels();
    adjuster.SavedRamp()[RampIndex(200, channel)] = c.entry;
    std::array<std::int16_t, 3> colours{0, 0, 0};
    colours[channel] = c.setting;

    adjuster.ApplyColours(colours);

    EXPECT_EQ(adjuster.WorkingRamp()[RampIndex(200, channel)], c.expected) << "channel " << channel;
  }
}

INSTANTIATE_TEST_SUITE_P(WorkedValues, GammaAdjuster_LevelTable,
                         ::testing::Values(  //
                             LevelCase{0x0000, -50, 0x0000}, LevelCase{0x0000, -1, 0x0000},
                             LevelCase{0x0000, 1, 0x028F}, LevelCase{0x0000, 50, 0x8001},
                             LevelCase{0x4000, -50, 0x2000}, LevelCase{0x4000, -1, 0x3F5C},
                             LevelCase{0x4000, 1, 0x41EC}, LevelCase{0x4000, 50, 0xA001},
                             LevelCase{0x7FFF, -50, 0x4000}, LevelCase{0x7FFF, -1, 0x7EB7},
                             LevelCase{0x7FFF, 1, 0x8148}, LevelCase{0x7FFF, 50, 0xC000},
                             LevelCase{0x8000, -50, 0x4000}, LevelCase{0x8000, -1, 0x7EB7},
                             LevelCase{0x8000, 1, 0x8148}, LevelCase{0x8000, 50, 0xC000},
                             LevelCase{0xFFFF, -50, 0x7FFF}, LevelCase{0xFFFF, -1, 0xFD70},
                             LevelCase{0xFFFF, 1, 0xFFFF}, LevelCase{0xFFFF, 50, 0xFFFF}));

// ---------------------------------------------------------------------------------------------
// The worked contrast values, on the signed reading.

struct ContrastCase {
  std::uint16_t entry;
  std::int16_t contrast;
  std::uint16_t expected;
};

std::ostream& operator<<(std::ostream& out, const ContrastCase& c) {
  return out << std::hex << "entry 0x" << c.entry << " at " << std::dec << c.contrast;
}

class GammaAdjuster_ContrastTable : public ::testing::TestWithParam<ContrastCase> {};

TEST_P(GammaAdjuster_ContrastTable, EveryChannelGetsTheWorkedEntry) {
  const ContrastCase c = GetParam();
  for (int channel = 0; channel < kRampChannels; ++channel) {
    FakeGammaDevice display;
    GammaAdjuster adjuster(display);
    adjuster.SavedRamp() = DistinctChannels();
    adjuster.SavedRamp()[RampIndex(13, channel)] = c.entry;

    adjuster.ApplyContrast(c.contrast);

    EXPECT_EQ(adjuster.WorkingRamp()[RampIndex(13, channel)], c.expected) << "channel " << channel;
  }
}

INSTANTIATE_TEST_SUITE_P(WorkedValues, GammaAdjuster_ContrastTable,
                         ::testing::Values(  //
                             ContrastCase{0x0080, 1, 0x0001}, ContrastCase{0x0080, 50, 0x0040},
                             ContrastCase{0x0080, 100, 0x0080}, ContrastCase{0x0080, 150, 0x00C0},
                             ContrastCase{0x0080, 200, 0x0100}, ContrastCase{0x0080, 300, 0x0180},
                             ContrastCase{0x4000, 1, 0x00A4}, ContrastCase{0x4000, 50, 0x2000},
                             ContrastCase{0x4000, 100, 0x4000}, ContrastCase{0x4000, 150, 0x6000},
                             ContrastCase{0x4000, 200, 0x7FFF}, ContrastCase{0x4000, 300, 0x7FFF},
                             ContrastCase{0x8000, 1, 0xFEB8}, ContrastCase{0x8000, 50, 0xC000},
                             ContrastCase{0x8000, 100, 0x8001}, ContrastCase{0x8000, 150, 0x8001},
                             ContrastCase{0x8000, 200, 0x8001}, ContrastCase{0x8000, 300, 0x8001},
                             ContrastCase{0xC000, 1, 0xFF5C}, ContrastCase{0xC000, 50, 0xE000},
                             ContrastCase{0xC000, 100, 0xC000}, ContrastCase{0xC000, 150, 0xA000},
                             ContrastCase{0xC000, 200, 0x8001}, ContrastCase{0xC000, 300, 0x8001},
                             ContrastCase{0xFFFF, 1, 0x0000}, ContrastCase{0xFFFF, 50, 0x0000},
                             ContrastCase{0xFFFF, 100, 0xFFFF}, ContrastCase{0xFFFF, 150, 0xFFFE},
                             ContrastCase{0xFFFF, 200, 0xFFFE}, ContrastCase{0xFFFF, 300, 0xFFFD}));

// ---------------------------------------------------------------------------------------------
// Edge cases of the operations.

TEST(GammaAdjuster_ApplyBrightness, ZeroCopiesTheRedChannelIntoAllThree) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();

  adjuster.ApplyBrightness(0);

  for (int i = 0; i < kRampLevels; ++i) {
    const std::uint16_t red = adjuster.SavedRamp()[RampIndex(i, 0)];
    for (int channel = 0; channel < kRampChannels; ++channel) {
      ASSERT_EQ(adjuster.WorkingRamp()[RampIndex(i, channel)], red)
          << "level " << i << " channel " << channel;
    }
  }
  EXPECT_NE(adjuster.WorkingRamp(), adjuster.SavedRamp());
}

TEST(GammaAdjuster_ApplyColours, AllZeroGivesSavedRampBack) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();
  adjuster.SavedRamp()[RampIndex(5, 1)] = 0x8000;  // the level reading's two-to-one entry
  adjuster.SavedRamp()[RampIndex(6, 2)] = 0xFFFF;
  adjuster.ApplyBrightness(-30);  // something else in WorkingRamp first

  adjuster.ApplyColours({0, 0, 0});

  EXPECT_EQ(adjuster.WorkingRamp(), adjuster.SavedRamp());
  EXPECT_EQ(display.shown, adjuster.SavedRamp());
}

TEST(GammaAdjuster_ApplyColours, EachChannelIsBuiltFromItsOwnSavedChannelWithItsOwnSetting) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();
  const std::array<std::int16_t, 3> colours{-50, 20, 50};

  adjuster.ApplyColours(colours);

  for (int channel = 0; channel < kRampChannels; ++channel) {
    for (int i = 0; i < kRampLevels; ++i) {
      const std::uint16_t saved = adjuster.SavedRamp()[RampIndex(i, channel)];
      ASSERT_EQ(adjuster.WorkingRamp()[RampIndex(i, channel)],
                LevelToWord(AdjustLevel(colours[channel], WordToLevel(saved))))
          << "level " << i << " channel " << channel;
    }
  }
}

TEST(GammaAdjuster_ApplyColours, BrightnessZeroThenColoursZeroRebuildsEachChannelFromItself) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();

  adjuster.ApplyBrightness(0);
  adjuster.ApplyColours({0, 0, 0});

  EXPECT_EQ(display.shown, adjuster.SavedRamp());
}

TEST(GammaAdjuster_ApplyBrightness, DiscardsTheColoursOnTheDisplay) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();
  FakeGammaDevice reference_display;
  GammaAdjuster reference(reference_display);
  reference.SavedRamp() = adjuster.SavedRamp();
  reference.ApplyBrightness(-20);

  adjuster.ApplyColours({40, -40, 10});
  adjuster.ApplyBrightness(-20);

  EXPECT_EQ(display.shown, reference.WorkingRamp());
}

TEST(GammaAdjuster_ApplyContrast, HundredGivesSavedBackExcept0x8000Becomes0x8001) {
  // Every possible entry value passes through once, 768 at a time.
  for (std::uint32_t first = 0; first <= 0xFFFF; first += 768) {
    FakeGammaDevice display;
    GammaAdjuster adjuster(display);
    for (std::uint32_t k = 0; k < 768; ++k)
      adjuster.SavedRamp()[k] = static_cast<std::uint16_t>((first + k) & 0xFFFF);

    adjuster.ApplyContrast(100);

    for (std::size_t k = 0; k < 768; ++k) {
      const std::uint16_t saved = adjuster.SavedRamp()[k];
      ASSERT_EQ(adjuster.WorkingRamp()[k], saved == 0x8000 ? 0x8001 : saved) << "entry " << saved;
    }
  }
}

TEST(GammaAdjuster_ApplyContrast, MinusOneRoundsHalvesToEvenAndNeverReaches0x8000) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp().fill(0xFFFF);  // -1 in the signed reading

  adjuster.ApplyContrast(1);  // -0.01
  EXPECT_EQ(adjuster.WorkingRamp()[0], 0x0000);
  adjuster.ApplyContrast(50);  // -0.5: the even neighbour is 0
  EXPECT_EQ(adjuster.WorkingRamp()[0], 0x0000);
  adjuster.ApplyContrast(150);  // -1.5: the even neighbour is -2
  EXPECT_EQ(adjuster.WorkingRamp()[0], 0xFFFE);
  adjuster.ApplyContrast(250);  // -2.5: the even neighbour is -2
  EXPECT_EQ(adjuster.WorkingRamp()[0], 0xFFFE);

  adjuster.SavedRamp().fill(0x8000);  // -32768
  adjuster.ApplyContrast(300);
  EXPECT_EQ(adjuster.WorkingRamp()[767], 0x8001);
}

TEST(GammaAdjuster_AllZeroSavedRamp, ContrastAndDarkeningGiveZeroLighteningGivesTheZeroRow) {
  FakeGammaDevice display;
  display.readable = false;  // the start-up read failed: SavedRamp stays all 0
  GammaAdjuster adjuster(display);
  adjuster.ReadSavedFromDisplay();
  const GammaRamp zero{};
  ASSERT_EQ(adjuster.SavedRamp(), zero);

  for (const std::int16_t p : std::array<std::int16_t, 5>{1, 50, 100, 150, 300}) {
    adjuster.ApplyContrast(p);
    EXPECT_EQ(adjuster.WorkingRamp(), zero) << "contrast " << p;
  }
  for (const std::int16_t v : std::array<std::int16_t, 2>{-50, -1}) {
    adjuster.ApplyBrightness(v);
    EXPECT_EQ(adjuster.WorkingRamp(), zero) << "brightness " << v;
  }

  adjuster.ApplyBrightness(1);
  for (const std::uint16_t entry : adjuster.WorkingRamp()) ASSERT_EQ(entry, 0x028F);
  adjuster.ApplyBrightness(50);
  for (const std::uint16_t entry : adjuster.WorkingRamp()) ASSERT_EQ(entry, 0x8001);

  adjuster.ApplyColours({50, 1, -1});
  for (int i = 0; i < kRampLevels; ++i) {
    ASSERT_EQ(adjuster.WorkingRamp()[RampIndex(i, 0)], 0x8001);
    ASSERT_EQ(adjuster.WorkingRamp()[RampIndex(i, 1)], 0x028F);
    ASSERT_EQ(adjuster.WorkingRamp()[RampIndex(i, 2)], 0x0000);
  }
}

TEST(GammaAdjuster_ApplyBrightness, SettingBeyondFiftyNeverTurnsTheTopBlack) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp().fill(0xFFFF);

  adjuster.ApplyBrightness(120);

  for (const std::uint16_t entry : adjuster.WorkingRamp()) ASSERT_EQ(entry, 0xFFFF);
}

// ---------------------------------------------------------------------------------------------
// What reaches the display.

TEST(GammaAdjuster_Writes, EachApplyWritesExactlyOnceWhatItBuilt) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();

  adjuster.ApplyBrightness(-10);
  ASSERT_EQ(display.writes.size(), 1u);
  EXPECT_EQ(display.writes.back(), adjuster.WorkingRamp());

  adjuster.ApplyContrast(120);
  ASSERT_EQ(display.writes.size(), 2u);
  EXPECT_EQ(display.writes.back(), adjuster.WorkingRamp());

  adjuster.ApplyColours({10, 0, -10});  // three channels built, one write
  ASSERT_EQ(display.writes.size(), 3u);
  EXPECT_EQ(display.writes.back(), adjuster.WorkingRamp());

  adjuster.ApplySaved();
  ASSERT_EQ(display.writes.size(), 4u);
  EXPECT_EQ(display.writes.back(), adjuster.SavedRamp());
}

TEST(GammaAdjuster_BuildChannel, WritesNothingAndTouchesOnlyItsChannel) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();
  adjuster.ApplyContrast(60);
  const GammaRamp before = adjuster.WorkingRamp();
  display.writes.clear();

  adjuster.BuildChannel(25, 1);

  EXPECT_TRUE(display.writes.empty());
  for (int i = 0; i < kRampLevels; ++i) {
    EXPECT_EQ(adjuster.WorkingRamp()[RampIndex(i, 0)], before[RampIndex(i, 0)]);
    EXPECT_EQ(adjuster.WorkingRamp()[RampIndex(i, 2)], before[RampIndex(i, 2)]);
    EXPECT_EQ(adjuster.WorkingRamp()[RampIndex(i, 1)],
              LevelToWord(AdjustLevel(25, WordToLevel(adjuster.SavedRamp()[RampIndex(i, 1)]))));
  }
}

TEST(GammaAdjuster_BuildChannel, ChannelOutsideZeroToTwoBuildsNothing) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();
  adjuster.ApplyBrightness(-40);
  const GammaRamp before = adjuster.WorkingRamp();

  adjuster.BuildChannel(30, 3);
  adjuster.BuildChannel(30, -1);

  EXPECT_EQ(adjuster.WorkingRamp(), before);
  EXPECT_EQ(display.writes.size(), 1u);
}

TEST(GammaAdjuster_Writes, RefusedRampLeavesDisplayAndBothTablesAsTheyWere) {
  FakeGammaDevice display;
  display.shown = DistinctChannels();
  GammaAdjuster adjuster(display);
  adjuster.ReadSavedFromDisplay();
  display.accepts = [](const GammaRamp&) { return false; };

  adjuster.ApplyContrast(200);

  EXPECT_EQ(display.writes.size(), 1u);
  EXPECT_EQ(display.shown, DistinctChannels());
  EXPECT_EQ(adjuster.SavedRamp(), DistinctChannels());
  EXPECT_EQ(adjuster.WorkingRamp(), display.writes.back());  // WorkingRamp keeps what was built
}

TEST(GammaAdjuster_SavedRamp, ReplacingItChangesNoWorkingEntryUntilTheNextOperation) {
  FakeGammaDevice display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = DistinctChannels();
  adjuster.ApplyBrightness(-50);
  const GammaRamp built = adjuster.WorkingRamp();

  adjuster.SavedRamp().fill(0x1000);
  EXPECT_EQ(adjuster.WorkingRamp(), built);

  adjuster.ApplyBrightness(-50);
  for (const std::uint16_t entry : adjuster.WorkingRamp()) ASSERT_EQ(entry, 0x0800);
}

TEST(GammaAdjuster_ReadSavedFromDisplay, TakesTheDisplaysRampOrKeepsSavedWhenTheReadFails) {
  FakeGammaDevice display;
  display.shown = DistinctChannels();
  GammaAdjuster adjuster(display);

  adjuster.ReadSavedFromDisplay();
  EXPECT_EQ(adjuster.SavedRamp(), DistinctChannels());

  display.readable = false;
  display.shown.fill(0x1234);
  adjuster.ReadSavedFromDisplay();
  EXPECT_EQ(adjuster.SavedRamp(), DistinctChannels());
  EXPECT_TRUE(display.writes.empty());
}

}  // namespace
}  // namespace lumenor::display
