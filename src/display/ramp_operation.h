#pragma once
// A slider operation or a restore, kept so that it can be applied again: to a display that comes
// later, or that the user takes back in.

#include <array>
#include <cstdint>

#include "display/gamma_ramp.h"

namespace lumenor::display {

struct RampOperation {
  enum class Kind { None, Brightness, Contrast, Colours, Reference };
  Kind kind = Kind::None;
  std::int16_t value = 0;                 // brightness or contrast
  std::array<std::int16_t, 3> colours{};  // red, green, blue
};

// The operation on the display's own reference, with its one write; whether the display took it
// (None writes nothing and counts as taken).
bool ApplyOperation(GammaAdjuster& ramps, const RampOperation& operation);

}  // namespace lumenor::display
