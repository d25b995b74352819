#pragma once
// The message loop's idle turns: the loop has handled every message waiting and is about to wait
// for the next. Work put off until then runs there, once per turn; a slider's notifications that
// come faster than the displays take their ramps are written once per turn, the latest value.

#include <cstdint>
#include <functional>

namespace lumenor::platform {

class LoopIdle {
 public:
  virtual ~LoopIdle() = default;
  // How many times the loop has gone idle so far.
  virtual std::uint64_t IdleTurns() const = 0;
  // work runs once, the next time the loop goes idle (after IdleTurns has counted that turn).
  virtual void AtNextIdle(std::function<void()> work) = 0;
};

}  // namespace lumenor::platform
