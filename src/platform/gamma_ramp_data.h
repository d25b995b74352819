#pragma once
// The table the gamma seam carries: the display's ramp as the platform's gamma calls read and
// write it. Both the ramp arithmetic and the display include this; neither includes the other's
// headers for it.

#include <array>
#include <cstddef>
#include <cstdint>

namespace lumenor::platform {

inline constexpr int kRampLevels = 256;
inline constexpr int kRampChannels = 3;

// 768 entries, channel-major (all red, then green, then blue). Entry (level, channel) stands at
// channel * 256 + level.
using GammaRamp = std::array<std::uint16_t, std::size_t{kRampLevels} * kRampChannels>;

constexpr std::size_t RampIndex(int level, int channel) {
  return static_cast<std::size_t>(channel) * kRampLevels + static_cast<std::size_t>(level);
}

}  // namespace lumenor::platform
