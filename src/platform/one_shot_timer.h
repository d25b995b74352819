#pragma once
// A message-driven timer that ticks once: the tick reaches its owner on the user-interface thread
// after about the time asked for, and then the timer is idle until it is started again.

namespace lumenor::platform {

class OneShotTimer {
 public:
  virtual ~OneShotTimer() = default;
  // Ticks once after about `milliseconds`; a start while a tick is pending replaces it.
  virtual void Start(unsigned milliseconds) = 0;
  // No tick comes until the next Start.
  virtual void Stop() = 0;
};

}  // namespace lumenor::platform
