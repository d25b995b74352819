#pragma once
// After the system may have reset the displays, each gets the ramp it took last again: at once,
// then about 0.5 s and 2 s later (a reset may land after its signal).

#include "platform/timer.h"

namespace lumenor::display {

// The rewrites after a reset signal: the first at once, then these delays after the one before.
inline constexpr unsigned kFirstRewriteDelayMs = 500;
inline constexpr unsigned kSecondRewriteDelayMs = 1500;  // about 2 s after the signal

class ResetRewrites {
 public:
  explicit ResetRewrites(platform::Timer& timer);
  // The rewrite at once has been made: the later ones are due.
  void Start();
  // The timer ticked: true when a rewrite is due now.
  bool OnTimer();

 private:
  enum class Due { None, First, Second };
  platform::Timer& timer_;
  Due due_ = Due::None;
};

}  // namespace lumenor::display
