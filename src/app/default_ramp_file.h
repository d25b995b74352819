#pragma once
// Default.dat: the reference ramp as 768 signed decimal numbers, level first, channel second.

#include <string>
#include <string_view>

#include "display/gamma_ramp.h"

namespace lumenor::platform {
class ProgramFiles;
}

namespace lumenor::app {

using display::GammaRamp;
using display::kRampChannels;
using display::kRampLevels;
using display::RampIndex;

inline constexpr std::string_view kDefaultRampFileName = "Default.dat";

enum class RampFileStatus { Read, Missing, Malformed };

// The ramp is complete when status is Read; otherwise it is all zero and must not be used.
// problem says, for a person, what is wrong with a malformed file: the line, the number's place
// among the numbers of that line, and why. What it quotes from the file is valid UTF-8 with every
// character that is not printable (controls, bidirectional marks) written as an escape.
struct RampFileOutcome {
  RampFileStatus status = RampFileStatus::Missing;
  GammaRamp ramp{};
  std::string problem;
};

// Reads the first 768 numbers; what follows them is not looked at. Numbers are separated by
// blanks and line breaks with at most one comma among them.
RampFileOutcome ParseRampText(std::string_view text);
// The named file beside the program. Missing when no file is there; files far larger than any
// ramp file are rejected unread.
RampFileOutcome LoadRampFile(platform::ProgramFiles& files,
                             std::string_view name = kDefaultRampFileName);

}  // namespace lumenor::app
