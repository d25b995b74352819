#pragma once
// A message-driven timer: its ticks reach its owner on the user-interface thread, every interval,
// until it is stopped. An owner that wants one tick stops it in its tick handler.

namespace lumenor::platform {

class Timer {
 public:
  virtual ~Timer() = default;
  // Ticks every `milliseconds` from now on; a start while running replaces the interval.
  virtual void Start(unsigned milliseconds) = 0;
  // No tick comes until the next Start.
  virtual void Stop() = 0;
};

}  // namespace lumenor::platform
