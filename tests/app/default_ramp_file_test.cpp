#include "app/default_ramp_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "support/host_directory_files.h"

namespace lumenor::app {
namespace {

namespace fs = std::filesystem;
using testing::HostDirectoryFiles;

// One line per input level, "red,green,blue", each number the signed reading of its entry.
std::string RampText(const GammaRamp& ramp, const std::string& line_end = "\n") {
  std::string text;
  for (int i = 0; i < kRampLevels; ++i) {
    for (int c = 0; c < kRampChannels; ++c) {
      if (c > 0) text += ",";
      text += std::to_string(static_cast<std::int16_t>(ramp[RampIndex(i, c)]));
    }
    text += line_end;
  }
  return text;
}

GammaRamp StraightRamp() {
  GammaRamp ramp{};
  for (int i = 0; i < kRampLevels; ++i) {
    for (int c = 0; c < kRampChannels; ++c)
      ramp[RampIndex(i, c)] = static_cast<std::uint16_t>(i * 257);
  }
  return ramp;
}

RampFileOutcome Parse(const std::string& text) {
  return ParseRampText(text);
}

// Replaces the number at 1-based position `number` of RampText's output (three per line).
std::string WithNumber(std::string text, int number, const std::string& replacement) {
  std::size_t start = 0;
  for (int k = 1; k < number; ++k) start = text.find_first_of(",\n", start) + 1;
  const std::size_t end = text.find_first_of(",\n", start);
  return text.replace(start, end - start, replacement);
}

void ExpectRejected(const RampFileOutcome& outcome, const std::string& problem) {
  EXPECT_EQ(outcome.status, RampFileStatus::Malformed);
  EXPECT_EQ(outcome.problem, problem);
  EXPECT_EQ(outcome.ramp, GammaRamp{}) << "a rejected file must leave no numbers behind";
}

// ---------------------------------------------------------------------------------------------
// Files that read.

TEST(DefaultRampFile_Parse, StraightRampInSignedReadingReadsBackStraight) {
  const std::string text = RampText(StraightRamp());
  ASSERT_NE(text.find("-1,-1,-1\n"), std::string::npos);  // 65535 is written -1
  ASSERT_NE(text.find("-32640,"), std::string::npos);     // 128 * 257 = 32896

  const RampFileOutcome outcome = Parse(text);

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  EXPECT_EQ(outcome.ramp, StraightRamp());
  EXPECT_TRUE(outcome.problem.empty());
}

TEST(DefaultRampFile_Parse, NumberKGoesToLevelKDivThreeChannelKModThree) {
  std::string text;
  for (int k = 0; k < 768; ++k) text += std::to_string(k) + (k % 3 == 2 ? "\n" : ",");

  const RampFileOutcome outcome = Parse(text);

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  for (int k = 0; k < 768; ++k) {
    ASSERT_EQ(outcome.ramp[static_cast<std::size_t>((k % 3) * 256 + k / 3)], k) << "number " << k;
  }
}

TEST(DefaultRampFile_Parse, LinesOfThreeZerosGiveTheAllZeroRamp) {
  std::string text;
  for (int i = 0; i < 256; ++i) text += "0,0,0\n";

  const RampFileOutcome outcome = Parse(text);

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  EXPECT_EQ(outcome.ramp, GammaRamp{});
}

TEST(DefaultRampFile_Parse, CrLfLineEndsReadLikeLf) {
  const RampFileOutcome outcome = Parse(RampText(StraightRamp(), "\r\n"));

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  EXPECT_EQ(outcome.ramp, StraightRamp());
}

TEST(DefaultRampFile_Parse, BlanksTabsAndBlankLinesSeparateLikeCommas) {
  // What goes before, between and after the three numbers of a level, in turn.
  struct Layout {
    const char* before;
    const char* first;
    const char* second;
    const char* after;
  };
  static constexpr Layout kLayouts[] = {
      {"", " ", "\t", "\n"},
      {"  ", " ,\t", " , ", "  \r\n"},
      {"", ",\n", ",\n\n", "\n"},  // a comma ending a line, an empty line
      {"\t", "\t\t", ",  ", " \t\n"},
  };
  std::string text = "\n\r\n  \t\n";  // blank lines and blanks before the first number
  for (int i = 0; i < 256; ++i) {
    const std::string n = std::to_string(static_cast<std::int16_t>(i * 257));
    const Layout& layout = kLayouts[i % 4];
    text.append(layout.before).append(n).append(layout.first).append(n);
    text.append(layout.second).append(n).append(layout.after);
  }

  const RampFileOutcome outcome = Parse(text);

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  EXPECT_EQ(outcome.ramp, StraightRamp());
}

TEST(DefaultRampFile_Parse, SignsAndTheRangesEndsAreTakenAsTwosComplement) {
  std::string text = WithNumber(RampText(GammaRamp{}), 1, "-32768");
  text = WithNumber(text, 2, "+32767");
  text = WithNumber(text, 3, "-0");
  text = WithNumber(text, 4, "+00012");

  const RampFileOutcome outcome = Parse(text);

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  EXPECT_EQ(outcome.ramp[RampIndex(0, 0)], 0x8000);
  EXPECT_EQ(outcome.ramp[RampIndex(0, 1)], 0x7FFF);
  EXPECT_EQ(outcome.ramp[RampIndex(0, 2)], 0x0000);
  EXPECT_EQ(outcome.ramp[RampIndex(1, 0)], 12);
}

TEST(DefaultRampFile_Parse, ByteOrderMarkAtTheStartIsSkipped) {
  const RampFileOutcome outcome = Parse("\xEF\xBB\xBF" + RampText(StraightRamp()));

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  EXPECT_EQ(outcome.ramp, StraightRamp());
}

TEST(DefaultRampFile_Parse, TextAfterThe768thNumberIsIgnored) {
  const std::string text = RampText(StraightRamp()) + "garbage,,70000 x\n1.5\n";

  const RampFileOutcome outcome = Parse(text);

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  EXPECT_EQ(outcome.ramp, StraightRamp());
}

TEST(DefaultRampFile_Parse, LastNumberAtTheEndOfTheTextWithoutLineBreakReads) {
  std::string text = RampText(StraightRamp());
  text.pop_back();

  EXPECT_EQ(Parse(text).status, RampFileStatus::Read);
}

// ---------------------------------------------------------------------------------------------
// Files that are rejected whole, naming the line and the number.

TEST(DefaultRampFile_Parse, TooFewNumbersAreRejected) {
  std::string text;
  for (int k = 0; k < 500; ++k) text += "100,";
  ExpectRejected(Parse(text), "只有 500 个数，需要 768 个");

  ExpectRejected(Parse(""), "只有 0 个数，需要 768 个");
  ExpectRejected(Parse(" \r\n\t\n"), "只有 0 个数，需要 768 个");

  std::string almost = RampText(StraightRamp());
  almost.resize(almost.rfind(",-1"));
  ExpectRejected(Parse(almost), "只有 767 个数，需要 768 个");
}

TEST(DefaultRampFile_Parse, NumbersOutsideTheSigned16BitRangeAreRejected) {
  const std::string text = RampText(StraightRamp());
  ExpectRejected(Parse(WithNumber(text, 25, "70000")),
                 "第 9 行第 25 个数“70000”超出 -32768 到 32767");
  ExpectRejected(Parse(WithNumber(text, 3, "32768")),
                 "第 1 行第 3 个数“32768”超出 -32768 到 32767");
  ExpectRejected(Parse(WithNumber(text, 700, "-32769")),
                 "第 234 行第 700 个数“-32769”超出 -32768 到 32767");
  ExpectRejected(Parse(WithNumber(text, 10, "99999999999999999999")),
                 "第 4 行第 10 个数“99999999999999999999”超出 -32768 到 32767");
}

TEST(DefaultRampFile_Parse, FieldsThatAreNotDecimalIntegersAreRejected) {
  const std::string text = RampText(StraightRamp());
  ExpectRejected(Parse(WithNumber(text, 7, "abc")), "第 3 行第 7 个数“abc”不是十进制整数");
  ExpectRejected(Parse(WithNumber(text, 7, "1.5")), "第 3 行第 7 个数“1.5”不是十进制整数");
  ExpectRejected(Parse(WithNumber(text, 7, "0x10")), "第 3 行第 7 个数“0x10”不是十进制整数");
  ExpectRejected(Parse(WithNumber(text, 7, "-")), "第 3 行第 7 个数“-”不是十进制整数");
  ExpectRejected(Parse(WithNumber(text, 7, "+-5")), "第 3 行第 7 个数“+-5”不是十进制整数");
  ExpectRejected(Parse(WithNumber(text, 7, "5-")), "第 3 行第 7 个数“5-”不是十进制整数");
  ExpectRejected(Parse(WithNumber(text, 7, "１２")), "第 3 行第 7 个数“１２”不是十进制整数");
  // The last number is read to its end too: a number with something stuck to it is not one.
  ExpectRejected(Parse(WithNumber(text, 768, "-1x")), "第 256 行第 768 个数“-1x”不是十进制整数");
}

TEST(DefaultRampFile_Parse, LineNumbersCountCrLfAndCrOnce) {
  const std::string crlf = RampText(StraightRamp(), "\r\n");
  ExpectRejected(Parse(WithNumber(crlf, 25, "x")), "第 9 行第 25 个数“x”不是十进制整数");
  std::string cr = RampText(StraightRamp(), "\r");
  std::size_t line4 = 0;
  for (int n = 0; n < 3; ++n) line4 = cr.find('\r', line4) + 1;
  ExpectRejected(Parse(cr.replace(line4, 3, "y")), "第 4 行第 10 个数“y”不是十进制整数");
}

TEST(DefaultRampFile_Parse, QuotedFieldIsCutShortAndKeptReadable) {
  const std::string text = RampText(StraightRamp());
  ExpectRejected(Parse(WithNumber(text, 4, std::string(40, 'z'))),
                 "第 2 行第 4 个数“" + std::string(24, 'z') + "…”不是十进制整数");
  // Control characters and bytes that are not UTF-8 show as '?'.
  ExpectRejected(Parse(WithNumber(text, 4, std::string("1\x01\xFF", 3))),
                 "第 2 行第 4 个数“1??”不是十进制整数");
  // A Chinese character the cut goes through is left out whole.
  ExpectRejected(Parse(WithNumber(text, 4, std::string(23, '9') + "数字")),
                 "第 2 行第 4 个数“" + std::string(23, '9') + "…”不是十进制整数");
  // Bytes that only begin like a byte order mark belong to the first number.
  ExpectRejected(Parse("\xEF\xBB" + text), "第 1 行第 1 个数“??0”不是十进制整数");
}

TEST(DefaultRampFile_Parse, EmptyFieldsAreRejected) {
  const std::string text = RampText(StraightRamp());
  ExpectRejected(Parse(WithNumber(text, 8, "")), "第 3 行第 8 个数是空的（逗号前没有数字）");
  ExpectRejected(Parse("," + text), "第 1 行第 1 个数是空的（逗号前没有数字）");
  ExpectRejected(Parse("0,0,0\n, 0,0\n" + text), "第 2 行第 4 个数是空的（逗号前没有数字）");
  ExpectRejected(Parse("0,0, ,0\n" + text), "第 1 行第 3 个数是空的（逗号前没有数字）");
}

TEST(DefaultRampFile_Parse, TextLongerThanOneMebibyteBeforeThe768thNumberIsRejected) {
  const std::string text =
      "1" + std::string(std::size_t{1024} * 1024, ' ') + RampText(StraightRamp());
  ExpectRejected(Parse(text), "文件太大，默认数据文件最多 1048576 字节");
}

// ---------------------------------------------------------------------------------------------
// The file on disk.

// A fresh directory per test, removed afterwards.
fs::path FreshDirectory() {
  std::random_device random;
  fs::path dir = fs::temp_directory_path() /
                 ("lumenor-ramp-" + std::to_string(random()) + std::to_string(random()));
  fs::create_directories(dir);
  return dir;
}

class DefaultRampFile_Load : public ::testing::Test {
 protected:
  ~DefaultRampFile_Load() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  static void Write(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    ASSERT_TRUE(out.good()) << file;
  }

  const fs::path dir_ = FreshDirectory();
  HostDirectoryFiles files_{dir_};
};

TEST_F(DefaultRampFile_Load, ReadsAFile) {
  Write(dir_ / "Default.dat", RampText(StraightRamp(), "\r\n"));

  const RampFileOutcome outcome = LoadRampFile(files_, "Default.dat");

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  EXPECT_EQ(outcome.ramp, StraightRamp());
}

TEST_F(DefaultRampFile_Load, NoRegularFileIsMissing) {
  EXPECT_EQ(LoadRampFile(files_, "Default.dat").status, RampFileStatus::Missing);
  EXPECT_EQ(LoadRampFile(*std::make_unique<HostDirectoryFiles>(dir_ / "no-such-dir")).status,
            RampFileStatus::Missing);
  fs::create_directory(dir_ / "Default.dat");
  EXPECT_EQ(LoadRampFile(files_, "Default.dat").status, RampFileStatus::Missing);
}

TEST_F(DefaultRampFile_Load, MalformedFileIsRejectedWithItsProblem) {
  Write(dir_ / "Default.dat", WithNumber(RampText(StraightRamp()), 25, "70000"));

  ExpectRejected(LoadRampFile(files_, "Default.dat"),
                 "第 9 行第 25 个数“70000”超出 -32768 到 32767");
}

TEST_F(DefaultRampFile_Load, FileOverOneMebibyteIsRejectedByItsSize) {
  // A good ramp first: only the size is wrong.
  std::string text = RampText(StraightRamp());
  text.resize(std::size_t{1024} * 1024, ' ');
  Write(dir_ / "exact.dat", text);
  text.push_back(' ');
  Write(dir_ / "over.dat", text);

  EXPECT_EQ(LoadRampFile(files_, "exact.dat").status, RampFileStatus::Read);
  ExpectRejected(LoadRampFile(files_, "over.dat"),
                 "文件太大（1048577 字节），默认数据文件最多 1048576 字节");
}

// The example shipped in the release archive, read from the source tree.
TEST(DefaultRampFile_Example, ReleaseArchivesExampleIsTheStraightRamp) {
  HostDirectoryFiles packaging{fs::path(LUMENOR_PACKAGING_DIR)};

  const RampFileOutcome outcome = LoadRampFile(packaging, "Default.dat.example");

  ASSERT_EQ(outcome.status, RampFileStatus::Read) << outcome.problem;
  EXPECT_EQ(outcome.ramp, StraightRamp());
}

}  // namespace
}  // namespace lumenor::app
