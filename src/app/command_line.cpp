#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "dimming/darkness_road.h"

namespace lumenor::app {

const std::string_view kUsageText =
    "lumenor.exe /darker [N] | /lighter [N] | /darkness V | /backlight P | /restore | /show |\r\n"
    "            /exit | /tray | /?\r\n"
    "  N: 1-100 (1), V: -255-255 (<0 黑 black, >0 白 white), P: 0-100 %\r\n"
    "退出码 exit code: 0 完成 done, 1 5 秒内无回应 no answer in 5 s, 2 命令有误 bad command\r\n";

namespace {

struct VerbName {
  std::u16string_view name;
  Command::Verb verb;
  int minimum = 0;  // the value's range; both 0: the verb takes none
  int maximum = 0;
  bool valueOptional = false;  // left out, it is 1
};

constexpr std::array<VerbName, 9> kVerbs{{
    {u"darker", Command::Verb::Darker, 1, 100, true},
    {u"lighter", Command::Verb::Lighter, 1, 100, true},
    {u"darkness", Command::Verb::Darkness, -255, 255},
    {u"backlight", Command::Verb::Backlight, 0, 100},
    {u"restore", Command::Verb::Restore},
    {u"show", Command::Verb::Show},
    {u"exit", Command::Verb::Exit},
    {u"tray", Command::Verb::Tray},
    {u"?", Command::Verb::Help},
}};

bool Blank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// The blank-separated words, as many as fit (a command has at most two): a word in double quotes
// may hold blanks, and its quotes are not part of it.
struct Words {
  std::array<std::u16string_view, 3> words;
  std::size_t count = 0;  // all of them, also those that did not fit
};

Words SplitWords(std::u16string_view line) {
  Words found;
  std::size_t k = 0;
  while (k < line.size()) {
    if (Blank(line[k])) {
      ++k;
      continue;
    }
    const std::size_t first = k;
    bool quoted = false;
    for (; k < line.size() && (quoted || !Blank(line[k])); ++k) {
      if (line[k] == u'"') quoted = !quoted;
    }
    std::u16string_view word = line.substr(first, k - first);
    if (word.size() >= 2 && word.front() == u'"' && word.back() == u'"') {
      word = word.substr(1, word.size() - 2);
    }
    if (found.count < found.words.size()) found.words[found.count] = word;
    ++found.count;
  }
  return found;
}

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

const VerbName* FindVerb(std::u16string_view word) {
  if (word.size() < 2 || (word[0] != u'/' && word[0] != u'-')) return nullptr;
  word.remove_prefix(1);
  for (const VerbName& verb : kVerbs) {
    if (verb.name.size() != word.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < word.size() && same; ++k) same = Lower(word[k]) == verb.name[k];
    if (same) return &verb;
  }
  return nullptr;
}

// A decimal integer with an optional sign; nullopt for anything else. Longer numbers than any
// range here holds count as out of range.
std::optional<long> Number(std::u16string_view word) {
  const bool negative = !word.empty() && word[0] == u'-';
  if (!word.empty() && (word[0] == u'-' || word[0] == u'+')) word.remove_prefix(1);
  if (word.empty()) return std::nullopt;
  long value = 0;
  for (const char16_t c : word) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = std::min(value * 10 + (c - u'0'), 1'000'000L);
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<Command> ParseCommandLine(std::u16string_view line) {
  const Words words = SplitWords(line);
  if (words.count == 0) return Command{};
  const VerbName* verb = FindVerb(words.words[0]);
  if (verb == nullptr) return std::nullopt;
  const bool takesValue = verb->minimum != 0 || verb->maximum != 0;
  if (!takesValue) {
    if (words.count != 1) return std::nullopt;
    return Command{verb->verb, 0};
  }
  if (words.count == 1 && verb->valueOptional) return Command{verb->verb, 1};
  if (words.count != 2) return std::nullopt;
  const std::optional<long> value = Number(words.words[1]);
  if (!value || *value < verb->minimum || *value > verb->maximum) return std::nullopt;
  return Command{verb->verb, static_cast<int>(*value)};
}

bool IsHandedOver(const Command& command) {
  return command.verb != Command::Verb::None && command.verb != Command::Verb::Tray &&
         command.verb != Command::Verb::Help;
}

CommandText TextOf(const Command& command) {
  CommandText text;
  const auto put = [&text](char16_t c) {
    if (text.size < text.units.size()) text.units[text.size++] = c;
  };
  for (const VerbName& verb : kVerbs) {
    if (verb.verb != command.verb) continue;
    put(u'/');
    for (const char16_t c : verb.name) put(c);
    if (verb.minimum == 0 && verb.maximum == 0) break;
    put(u' ');
    if (command.value < 0) put(u'-');
    const int magnitude = command.value < 0 ? -command.value : command.value;
    for (int unit = 100; unit >= 1; unit /= 10) {
      if (magnitude >= unit || unit == 1) put(static_cast<char16_t>(u'0' + magnitude / unit % 10));
    }
  }
  return text;
}

std::optional<Command> ReceivedCommand(std::uint64_t tag, std::span<const std::byte> data) {
  if (tag != kCommandTag || data.size() > kMaxCommandBytes || data.size() % 2 != 0)
    return std::nullopt;
  std::array<char16_t, kMaxCommandBytes / 2> units;
  if (!data.empty()) std::memcpy(units.data(), data.data(), data.size());  // may be unaligned
  // The parser takes nothing but ASCII verbs, digits and blanks, so text that is not UTF-16 (a
  // surrogate alone, other bytes read as UTF-16) never passes.
  std::optional<Command> command = ParseCommandLine({units.data(), data.size() / 2});
  if (!command || !IsHandedOver(*command)) return std::nullopt;
  return command;
}

void RunCommand(const Command& command, dimming::DarknessRoad& road, CommandActions& actions) {
  using Kind = dimming::Request::Kind;
  const auto take = [&road](Kind kind, int value) {
    road.Take(dimming::Request{kind, value, dimming::Source::Command});
  };
  switch (command.verb) {
    case Command::Verb::Darker:
    case Command::Verb::Lighter:
      for (int step = 0; step < command.value; ++step) {
        take(command.verb == Command::Verb::Darker ? Kind::StepDarker : Kind::StepBrighter, 0);
      }
      break;
    case Command::Verb::Darkness:
      take(Kind::SetDarkness, command.value);
      break;
    case Command::Verb::Backlight:
      take(Kind::SetBacklights, command.value);
      break;
    case Command::Verb::Restore:
      actions.RestoreDefaults();
      break;
    case Command::Verb::Show:
      actions.ShowMainWindow();
      break;
    case Command::Verb::Exit:
      actions.EndProgram();
      break;
    case Command::Verb::None:
    case Command::Verb::Tray:
    case Command::Verb::Help:
      break;  // nothing for the running copy to do
  }
}

}  // namespace lumenor::app
