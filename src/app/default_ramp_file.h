#pragma once
// Default.dat: the reference ramp as 768 signed decimal numbers, level first, channel second.

#include <string>
#include <string_view>

#include "app/gamma_ramp.h"

namespace lumenor::platform {
class ProgramFiles;
}

namespace lumenor::app {

inline constexpr std::string_view kDefaultRampFileName = "Default.dat";

enum class RampFileStatus { Read, Missing, Malformed };

// The ramp is complete when status is Read; otherwise it is all zero and must not be used.
// problem says, for a person, what is wrong with a malformed file (which number or line, and why).
struct RampFileOutcome {
  RampFileStatus status = RampFileStatus::Missing;
  GammaRamp ramp{};
  std::string problem;
};

// Reads the first 768 numbers; what follows them is not looked at.
RampFileOutcome ParseRampText(std::string_view text);
// The named file beside the program. Missing when no file is there; files far larger than any
// ramp file are rejected unread.
RampFileOutcome LoadRampFile(platform::ProgramFiles& files,
                             std::string_view name = kDefaultRampFileName);

}  // namespace lumenor::app
