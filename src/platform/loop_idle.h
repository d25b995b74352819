#pragma once
// The message loop's idle turns: the loop has handled every message waiting and is about to wait
// for the next. Work put off until then runs there, once per turn; a slider's notifications that
// come faster than the displays take their ramps are written once per turn, the latest value.

#include <cstdint>

namespace lumenor::platform {

class IdleWork {
 public:
  virtual void OnLoopIdle() = 0;

 protected:
  ~IdleWork() = default;
};

class LoopIdle {
 public:
  virtual ~LoopIdle() = default;
  // How many times the loop has gone idle so far.
  virtual std::uint64_t IdleTurns() const = 0;
  // work runs once, the next time the loop goes idle (after IdleTurns has counted that turn).
  // One wait per work: asking again before then changes nothing.
  virtual void AtNextIdle(IdleWork& work) = 0;
  // work is going away: it no longer runs.
  virtual void Forget(IdleWork& work) = 0;
};

}  // namespace lumenor::platform
