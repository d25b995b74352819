// Any bytes as Default.dat beside the program, read directly and through the main window's
// restore. Beyond surviving, the reader must keep its word: a file it refuses leaves no numbers
// behind, leaves the window's saved ramp and the display as they were, and is explained in clean
// text; a file it reads gives the ramp that a second, separately written reading of the format
// gives, and that ramp becomes the saved ramp and goes to the display.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/default_ramp_file.h"
#include "app/main_window.h"
#include "fuzz_check.h"
#include "platform/program_files.h"
#include "support/fake_dialogs.h"
#include "support/fake_gamma_device.h"
#include "support/fake_main_window_controls.h"
#include "support/one_display_desk.h"

namespace {

using lumenor::display::GammaRamp;
using lumenor::app::RampFileOutcome;
using lumenor::app::RampFileStatus;
using lumenor::fuzz::Check;

// The fuzzer's bytes as the program's directory holding one file, sized as the real one reports.
class OneFile : public lumenor::platform::ProgramFiles {
 public:
  explicit OneFile(std::string bytes) : bytes_(std::move(bytes)) {}
  lumenor::platform::FileContents Read(std::string_view, std::size_t maxBytes) override {
    lumenor::platform::FileContents file;
    file.size = bytes_.size();
    file.status = bytes_.size() > maxBytes ? lumenor::platform::FileReadStatus::TooLarge
                                           : lumenor::platform::FileReadStatus::Read;
    if (file.status == lumenor::platform::FileReadStatus::Read) file.bytes = bytes_;
    return file;
  }

 private:
  std::string bytes_;
};

// The format read another way: the text is cut into fields (runs of anything but blank, tab,
// line break and comma) and the gaps between them. The gap before the first number holds no
// comma and each gap between two numbers at most one; the first 768 fields are each an optional
// sign and decimal digits within -32768 ... 32767.
std::optional<GammaRamp> ReadAnotherWay(std::string_view text) {
  constexpr std::string_view kGap = " \t\r\n,";
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  GammaRamp ramp{};
  std::size_t at = 0;
  for (int k = 0; k < 768; ++k) {
    const std::size_t start = std::min(text.find_first_not_of(kGap, at), text.size());
    const std::string_view gap = text.substr(at, start - at);
    if (std::count(gap.begin(), gap.end(), ',') > (k == 0 ? 0 : 1)) return std::nullopt;
    if (start == text.size()) return std::nullopt;
    const std::size_t end = std::min(text.find_first_of(kGap, start), text.size());
    std::string_view field = text.substr(start, end - start);
    const bool negative = field.front() == '-';
    if (field.front() == '-' || field.front() == '+') field.remove_prefix(1);
    if (field.empty() || field.find_first_not_of("0123456789") != std::string_view::npos) {
      return std::nullopt;
    }
    field.remove_prefix(std::min(field.find_first_not_of('0'), field.size() - 1));
    if (field.size() > 5) return std::nullopt;
    const long magnitude = std::stol(std::string(field));
    const long value = negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767) return std::nullopt;
    ramp[lumenor::display::RampIndex(k / 3, k % 3)] = static_cast<std::uint16_t>(value & 0xFFFF);
    at = end;
  }
  return ramp;
}

// The main window over fakes, loaded from a display whose channels all differ.
struct Window {
  explicit Window(std::string bytes)
      : files(std::move(bytes)), window(controls, desk.set, road, dialogs, files) {
    for (int i = 0; i < 256; ++i) {
      for (int c = 0; c < 3; ++c) {
        display.shown[lumenor::display::RampIndex(i, c)] =
            static_cast<std::uint16_t>(i * 97 + c * 5003);
      }
    }
    controls.Attach(window);
    window.Load();
  }
  lumenor::testing::FakeMainWindowControls controls;
  lumenor::testing::OneDisplayDesk desk;
  lumenor::testing::FakeGammaDevice& display = desk.display;
  lumenor::dimming::DarknessRoad road{desk.overlay, nullptr};
  lumenor::testing::FakeDialogs dialogs;
  OneFile files;
  lumenor::app::MainWindow window;
};

// The restore with the file beside the program: the saved ramp and the display keep the ramp
// the window was loaded with unless the file reads, and a refused file is reported once.
void CheckRestore(const std::string& bytes, const RampFileOutcome& outcome) {
  Window w(bytes);
  const GammaRamp loaded = w.desk.set.Ramps(0).SavedRamp();
  w.controls.UserMovesSlider(lumenor::app::Slider::Brightness, -20);
  w.window.RestoreDefaults();
  const GammaRamp& saved = w.desk.set.Ramps(0).SavedRamp();
  Check(!w.display.writes.empty() && w.display.writes.back() == saved,
        "the restore did not end by showing the saved ramp");
  if (outcome.status == RampFileStatus::Read) {
    Check(saved == outcome.ramp, "the file's ramp did not become the saved ramp");
    Check(w.dialogs.shown.empty(), "a message after a file that reads");
    return;
  }
  Check(saved == loaded, "a refused file changed the saved ramp");
  Check(w.dialogs.shown.size() == 1, "a refused file not reported exactly once");
  const std::string& text = w.dialogs.shown[0].text;
  Check(text.find(outcome.problem) != std::string::npos, "the message lacks the reason", text);
  Check(lumenor::fuzz::IsCleanText(text), "the message is not clean text", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  OneFile files(bytes);
  const RampFileOutcome outcome = lumenor::app::LoadRampFile(files);
  // Inputs stay far below the reader's 1 MiB limit, where the two readings must agree.
  const std::optional<GammaRamp> expected = ReadAnotherWay(bytes);

  switch (outcome.status) {
    case RampFileStatus::Missing:
      Check(false, "a file that is there reads as missing");
      break;
    case RampFileStatus::Read:
      Check(expected.has_value(), "read a file the other reading refuses");
      Check(outcome.ramp == *expected, "read a ramp other than the other reading's");
      Check(outcome.problem.empty(), "a problem reported with a file that reads");
      break;
    case RampFileStatus::Malformed:
      Check(!expected.has_value(), "refused a file the other reading reads", outcome.problem);
      Check(outcome.ramp == GammaRamp{}, "a refused file leaves numbers behind");
      Check(!outcome.problem.empty(), "a refused file without a reason");
      Check(lumenor::fuzz::IsCleanText(outcome.problem),
            "the reason is not clean UTF-8 free of control and bidirectional characters",
            outcome.problem);
      break;
  }
  CheckRestore(bytes, outcome);
  return 0;
}
