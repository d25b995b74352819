#pragma once
// The command line of lumenor.exe, for scripts and the Task Scheduler, and the same commands as a
// second start hands them to the copy that runs (WM_COPYDATA: a tag in dwData and the command's
// text in UTF-16). The receiving copy reads that data as coming from anyone: only a well-formed
// command of this list passes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace lumenor::dimming {
class DarknessRoad;
}

namespace lumenor::app {

struct Command {
  enum class Verb {
    None,       // nothing on the command line: the program starts as it always did
    Darker,     // value: steps, 1 to 100
    Lighter,    // value: steps, 1 to 100
    Darkness,   // value: the darkness bar's value, -255 to 255
    Backlight,  // value: percent of each driven monitor's range, 0 to 100
    Restore,    // "恢复默认"
    Show,       // the main window in front
    Exit,       // "退出"
    Tray,       // start in the tray, as "开机启动" does
    Help,       // the usage text
  };
  Verb verb = Verb::None;
  int value = 0;
  friend bool operator==(const Command&, const Command&) = default;
};

// Said for a command the program does not take (exit code 2) and for /?.
extern const std::string_view kUsageText;

// What the process ends with when it hands a command on.
enum ExitCode : int { kExitDone = 0, kExitNoAnswer = 1, kExitBadCommand = 2 };

// The words after the program's name: verbs in any case, with `/` or `-`, one verb with its value
// if it takes one. Empty: no command at all. nullopt: an unknown verb, two verbs, a value missing,
// out of range or not a number.
std::optional<Command> ParseCommandLine(std::u16string_view words);

// A command that a running copy takes from a second start (not None, Tray or Help).
bool IsHandedOver(const Command& command);

// WM_COPYDATA's dwData for a command, and the most its text may take.
inline constexpr std::uint64_t kCommandTag = 0x4C756D43'6D643031;  // "LumCmd01"
inline constexpr std::size_t kMaxCommandBytes = 256;

// The text a second start sends: its verb and value, as typed on a command line.
struct CommandText {
  std::array<char16_t, 16> units{};
  std::size_t size = 0;
  std::u16string_view View() const { return {units.data(), size}; }
};
CommandText TextOf(const Command& command);
// What a running copy makes of the data: the command, or nullopt when the tag is another's, the
// data too long, not UTF-16 (an odd byte count, a lone surrogate) or not a command it takes.
std::optional<Command> ReceivedCommand(std::uint64_t tag, std::span<const std::byte> data);

// What carries out a command besides the road: the same actions as "恢复默认", "选项" and "退出".
class CommandActions {
 public:
  virtual void RestoreDefaults() = 0;
  virtual void ShowMainWindow() = 0;
  virtual void EndProgram() = 0;

 protected:
  ~CommandActions() = default;
};
// A command taken by the running copy: the steps, the darkness and the backlights go through the
// road's one entry as the command's requests, the rest to the actions.
void RunCommand(const Command& command, dimming::DarknessRoad& road, CommandActions& actions);

}  // namespace lumenor::app
