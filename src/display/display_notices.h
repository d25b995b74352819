#pragma once
// What the displays tell the user in the tray balloon: refusals once per episode (naming the
// displays when only some refused), and an HDR display once per run.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumenor::platform {
class Notices;
}  // namespace lumenor::platform

namespace lumenor::display {

inline constexpr std::string_view kRampRefusedText =
    "显示器不接受这一设置，画面保持上一次的设置。要更暗或更亮，请用“加强”或按住 Ctrl+← / "
    "Ctrl+→。";
// "显示器 2" then this, when only some displays refused.
inline constexpr std::string_view kSomeRefusedTail =
    " 不接受这一设置，画面保持上一次的设置。要更暗或更亮，请用“加强”或按住 Ctrl+← / Ctrl+→。";
// "显示器 2" then this, once per run for a display in HDR mode.
inline constexpr std::string_view kHdrTail =
    " 开着 HDR，亮度、对比度和颜色对它不起作用；要调暗请用“加强”或 Ctrl+←。";
// "另一个程序改了" + "显示器 2" + this, once when another program's ramp is found on a display.
inline constexpr std::string_view kOverwrittenHead = "另一个程序改了";
inline constexpr std::string_view kOverwrittenTail = " 的颜色，Lumenor 不再改它，直到你再调节。";

// How one operation went over the displays it was applied to.
struct OperationOutcome {
  std::size_t written = 0;           // displays handed the ramp
  std::vector<std::size_t> refused;  // their numbers, from 1
  struct Hdr {
    std::size_t number;
    const std::string* identity;  // the display's, while the outcome is told
  };
  std::vector<Hdr> hdr;  // skipped for HDR mode
};

class DisplayNotices {
 public:
  explicit DisplayNotices(platform::Notices& notices);

  // writtenCount: how many displays Lumenor writes now, to tell "all refused" from "some".
  void Tell(const OperationOutcome& outcome, std::size_t writtenCount);
  // Another program wrote these displays (numbers from 1) and Lumenor leaves them.
  void TellOverwritten(const std::vector<std::size_t>& numbers);

 private:
  platform::Notices& notices_;
  bool refusalTold_ = false;  // a refusal was told and no operation has been taken by all since
  std::vector<std::string> hdrTold_;  // identities of the HDR displays the user has heard of
};

}  // namespace lumenor::display
