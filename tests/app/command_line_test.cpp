// The command line and the data a second start hands to the running copy: every bad input gives
// a usage error on the command line and nothing at all in the running copy.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace lumenor::testing {
namespace {

using app::Command;
using Verb = Command::Verb;

std::vector<std::byte> Bytes(std::u16string_view text) {
  std::vector<std::byte> bytes(text.size() * 2);
  std::memcpy(bytes.data(), text.data(), bytes.size());
  return bytes;
}

std::vector<std::byte> Bytes(std::string_view text) {
  const auto* first = reinterpret_cast<const std::byte*>(text.data());
  return {first, first + text.size()};
}

TEST(CommandLine_Parse, EachGoodFormGivesItsCommandAndEveryBadOneAUsageError) {
  const std::optional<Command> bad;
  const struct Row {
    std::u16string_view words;
    std::optional<Command> expected;
  } rows[] = {
      {u"", Command{}},
      {u"  \t ", Command{}},
      {u"/darker", Command{Verb::Darker, 1}},
      {u"/DARKER 100", Command{Verb::Darker, 100}},
      {u"-Lighter 7", Command{Verb::Lighter, 7}},
      {u"/lighter +1", Command{Verb::Lighter, 1}},
      {u"/darkness -255", Command{Verb::Darkness, -255}},
      {u"-darkness 255", Command{Verb::Darkness, 255}},
      {u"\"/darkness\" \"-200\"", Command{Verb::Darkness, -200}},
      {u"/backlight 0", Command{Verb::Backlight, 0}},
      {u"/BackLight 100", Command{Verb::Backlight, 100}},
      {u"/restore", Command{Verb::Restore}},
      {u"-SHOW", Command{Verb::Show}},
      {u"/exit", Command{Verb::Exit}},
      {u"/tray", Command{Verb::Tray}},
      {u"/?", Command{Verb::Help}},
      // out of range
      {u"/darker 0", bad},
      {u"/darker 101", bad},
      {u"/lighter -1", bad},
      {u"/darkness -256", bad},
      {u"/darkness 256", bad},
      {u"/darkness 99999999999999999999", bad},
      {u"/backlight -1", bad},
      {u"/backlight 101", bad},
      // not numbers, or none where one is needed
      {u"/darker three", bad},
      {u"/darkness", bad},
      {u"/darkness -", bad},
      {u"/darkness 0x10", bad},
      {u"/backlight 30%", bad},
      {u"/backlight ３０", bad},
      {u"/restore 1", bad},
      // unknown verbs
      {u"/bogus", bad},
      {u"darker", bad},
      {u"/", bad},
      {u"--darker", bad},
      {u"/darkerr", bad},
      {u"／darker", bad},
      // two verbs, or a word too many
      {u"/darker /lighter", bad},
      {u"/tray /darkness -200", bad},
      {u"/darkness -200 /show", bad},
      {u"/darker 2 3", bad},
  };
  for (const Row& row : rows) {
    const std::u16string words{row.words};
    SCOPED_TRACE(std::string(words.begin(), words.end()));
    EXPECT_EQ(app::ParseCommandLine(row.words), row.expected);
    // What a second start would send is taken back as the same command by the running copy.
    if (row.expected && app::IsHandedOver(*row.expected)) {
      EXPECT_EQ(app::ReceivedCommand(app::kCommandTag, Bytes(app::TextOf(*row.expected).View())),
                row.expected);
    }
  }
}

TEST(CommandLine_Received, OnlyAWellFormedCommandWithTheTagIsTaken) {
  const std::optional<Command> ignored;
  std::u16string megabyte = u"/darker 1";
  megabyte.resize(512 * 1024, u' ');
  const struct Row {
    const char* name;
    std::uint64_t tag;
    std::vector<std::byte> data;
    std::optional<Command> expected;
  } rows[] = {
      {"a command", app::kCommandTag, Bytes(u"/darkness -200"), Command{Verb::Darkness, -200}},
      {"another program's tag", 1, Bytes(u"/darkness -200"), ignored},
      {"a megabyte", app::kCommandTag, Bytes(megabyte), ignored},
      {"just over the limit", app::kCommandTag,
       Bytes(u"/show" + std::u16string(app::kMaxCommandBytes / 2 - 4, u' ')), ignored},
      {"empty", app::kCommandTag, {}, ignored},
      {"an odd byte count", app::kCommandTag,
       [] { auto b = Bytes(u"/exit"); b.push_back(std::byte{' '}); return b; }(), ignored},
      {"UTF-8, even length", app::kCommandTag, Bytes(std::string_view("/darkness -200")),
       ignored},
      {"a lone surrogate", app::kCommandTag, Bytes(u"/exit\xDC00"), ignored},
      {"a value out of range", app::kCommandTag, Bytes(u"/backlight 101"), ignored},
      {"an unknown verb", app::kCommandTag, Bytes(u"/bogus"), ignored},
      {"two verbs", app::kCommandTag, Bytes(u"/restore /exit"), ignored},
      {"/tray, for a start only", app::kCommandTag, Bytes(u"/tray"), ignored},
      {"/?, for a start only", app::kCommandTag, Bytes(u"/?"), ignored},
      {"a NUL inside", app::kCommandTag, Bytes(std::u16string_view(u"/exit\0 1", 8)), ignored},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(app::ReceivedCommand(row.tag, row.data), row.expected);
  }
}

}  // namespace
}  // namespace lumenor::testing
