#include "display/hdr_policy.h"

namespace lumenor::display {

platform::HdrMode KnownHdr(platform::HdrMode before, platform::HdrMode asked) {
  if (asked != platform::HdrMode::Unknown) return asked;
  return before == platform::HdrMode::On ? platform::HdrMode::On : platform::HdrMode::Off;
}

}  // namespace lumenor::display
