// Any bytes as Default.dat beside the program. Beyond surviving, the reader must keep its word:
// a file it refuses leaves no numbers behind and is explained in clean text, and a file it reads
// gives the ramp that a second, separately written reading of the format gives.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/default_ramp_file.h"
#include "fuzz_check.h"
#include "platform/program_files.h"

namespace {

using lumenor::app::GammaRamp;
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
    ramp[lumenor::app::RampIndex(k / 3, k % 3)] = static_cast<std::uint16_t>(value & 0xFFFF);
    at = end;
  }
  return ramp;
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
  return 0;
}
