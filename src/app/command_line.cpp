#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "dimming/darkness_road.h"

namespace lumenor::app {

const std::string_view kUsageText =
    "用法 Usage: lumenor.exe [命令 command]\r\n"
    "  /darker [N]     变暗 N 步 (1-100, 默认 1)   N steps darker (1-100, 1 when left out)\r\n"
    "  /lighter [N]    变亮 N 步 (1-100, 默认 1)   N steps lighter\r\n"
    "  /darkness V     遮罩 V (-255-255: 小于 0 黑色, 大于 0 白色, 0 无)\r\n"
    "                  the darkness bar's value: below 0 black, above 0 white, 0 clear\r\n"
    "  /backlight P    背光 P% (0-100)   every driven monitor's backlight at P %\r\n"
    "  /restore        恢复默认\r\n"
    "  /show           显示主窗口   the main window in front\r\n"
    "  /exit           退出\r\n"
    "  /tray           在托盘中启动   start in the tray\r\n"
    "  /?              本说明   this text\r\n"
    "命令不分大小写, - 与 / 皆可。  Verbs in any case, with - as well as /.\r\n"
    "退出码 Exit code: 0 完成 done; 1 运行中的 Lumenor 5 秒内未回应 the running copy did not\r\n"
    "answer within 5 s; 2 命令或数值有误 a command or value it does not take.\r\n";

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

// Blank-separated words; double quotes group blanks into a word and are dropped.
std::vector<std::u16string> Words(std::u16string_view line) {
  std::vector<std::u16string> words;
  std::u16string word;
  bool quoted = false;
  bool inWord = false;
  for (const char16_t c : line) {
    if (c == u'"') {
      quoted = !quoted;
      inWord = true;
    } else if (Blank(c) && !quoted) {
      if (inWord) words.push_back(std::exchange(word, {}));
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
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
  const std::vector<std::u16string> words = Words(line);
  if (words.empty()) return Command{};
  const VerbName* verb = FindVerb(words[0]);
  if (verb == nullptr) return std::nullopt;
  const bool takesValue = verb->minimum != 0 || verb->maximum != 0;
  if (!takesValue) {
    if (words.size() != 1) return std::nullopt;
    return Command{verb->verb, 0};
  }
  if (words.size() == 1 && verb->valueOptional) return Command{verb->verb, 1};
  if (words.size() != 2) return std::nullopt;
  const std::optional<long> value = Number(words[1]);
  if (!value || *value < verb->minimum || *value > verb->maximum) return std::nullopt;
  return Command{verb->verb, static_cast<int>(*value)};
}

bool IsHandedOver(const Command& command) {
  return command.verb != Command::Verb::None && command.verb != Command::Verb::Tray &&
         command.verb != Command::Verb::Help;
}

std::u16string CommandText(const Command& command) {
  std::string text;  // ASCII only
  for (const VerbName& verb : kVerbs) {
    if (verb.verb != command.verb) continue;
    text.push_back('/');
    for (const char16_t c : verb.name) text.push_back(static_cast<char>(c));
    if (verb.minimum != 0 || verb.maximum != 0) text += ' ' + std::to_string(command.value);
  }
  return {text.begin(), text.end()};
}

std::optional<Command> ReceivedCommand(std::uint64_t tag, std::span<const std::byte> data) {
  if (tag != kCommandTag || data.size() > kMaxCommandBytes || data.size() % 2 != 0)
    return std::nullopt;
  std::u16string text(data.size() / 2, u'\0');
  if (!data.empty()) std::memcpy(text.data(), data.data(), data.size());  // may be unaligned
  // The parser takes nothing but ASCII verbs, digits and blanks, so text that is not UTF-16 (a
  // surrogate alone, other bytes read as UTF-16) never passes.
  std::optional<Command> command = ParseCommandLine(text);
  if (!command || !IsHandedOver(*command)) return std::nullopt;
  return command;
}

void RunCommand(const Command& command, dimming::DarknessRoad& road,
                const CommandActions& actions) {
  using Kind = dimming::Request::Kind;
  const auto take = [&road](Kind kind, int value) {
    road.Take(dimming::Request{kind, value, dimming::Source::Command});
  };
  const auto act = [](const std::function<void()>& action) {
    if (action) action();
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
      act(actions.restoreDefaults);
      break;
    case Command::Verb::Show:
      act(actions.showMainWindow);
      break;
    case Command::Verb::Exit:
      act(actions.endProgram);
      break;
    case Command::Verb::None:
    case Command::Verb::Tray:
    case Command::Verb::Help:
      break;  // nothing for the running copy to do
  }
}

}  // namespace lumenor::app
