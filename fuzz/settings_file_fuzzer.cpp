// Any bytes as lumenor.ini. Beyond surviving, the reader must keep its word: a file it refuses
// gives exactly the defaults and a reason in clean text, and a file that is clean text another
// way of looking shows is never refused; what it reads holds only usable values (two distinct
// usable keys, each number in its range, displays without line breaks, none twice), and writes
// back as text that reads again to the same settings.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "settings/settings_file.h"

namespace {

using lumenor::fuzz::Check;
using namespace lumenor::settings;

bool InRange(std::int32_t value, std::int32_t minimum, std::int32_t maximum) {
  return value >= minimum && value <= maximum;
}

void CheckUsable(const Settings& s) {
  for (const KeyChoice& key : {s.darkerKey, s.brighterKey}) {
    Check(InRange(key.virtualKey, 1, 254), "a key code out of range");
    Check(InRange(key.modifiers, 1, 15) && (key.modifiers & (1 | 2 | 8)) != 0,
          "a key without Ctrl, Alt or Win");
  }
  Check(!(s.darkerKey == s.brighterKey), "one combination for both keys");
  for (std::size_t i = 0; i < s.displaysLeftOut.size(); ++i) {
    const std::string& identity = s.displaysLeftOut[i];
    Check(!identity.empty() && identity.find_first_of("\r\n") == std::string::npos,
          "a display identity that cannot stand on one line", identity);
    Check(std::count(s.displaysLeftOut.begin(), s.displaysLeftOut.end(), identity) == 1,
          "a display left out twice", identity);
  }
  if (s.lastState) {
    const WindowState& w = *s.lastState;
    Check(InRange(w.brightness, -50, 50) && InRange(w.contrast, 1, 300) &&
              InRange(w.red, -50, 50) && InRange(w.green, -50, 50) && InRange(w.blue, -50, 50) &&
              InRange(w.darkness, -255, 255),
          "a window state out of range");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const ReadOutcome outcome = ReadSettings(bytes);
  if (outcome.refused) {
    Check(outcome.settings == Settings{}, "a refused file left settings behind");
    Check(!outcome.problem.empty() && lumenor::fuzz::IsCleanText(outcome.problem),
          "a refused file without a clean reason", outcome.problem);
    // Tab and line breaks belong in the file; the rest of clean text must be read.
    std::string flattened = bytes;
    std::replace_if(flattened.begin(), flattened.end(),
                    [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    Check(bytes.size() > kMaxFileBytes || !lumenor::fuzz::IsCleanText(flattened),
          "refused clean text", outcome.problem);
    return 0;
  }
  Check(outcome.problem.empty(), "a problem reported with a file that reads");
  CheckUsable(outcome.settings);
  const std::string written = WriteSettings(outcome.settings);
  const ReadOutcome again = ReadSettings(written);
  Check(!again.refused, "the writer's text was refused", again.problem);
  Check(again.settings == outcome.settings, "the settings did not survive a write and a read",
        written);
  return 0;
}
