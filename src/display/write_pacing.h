#pragma once
// A slider's notifications may come faster than the displays take their ramps (a write can take
// up to 200 ms on some hardware). An operation is written at once when nothing was written since
// the message loop last went idle; otherwise it waits for the loop's next idle turn, and only the
// latest one waiting is written then. The last value of a drag is always written, none twice.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/loop_idle.h"

namespace lumenor::display {

class WritePacing {
 public:
  // Without a loop that tells its idle turns every operation is written at once.
  WritePacing(platform::LoopIdle* idle, std::function<void()> write);

  // An operation wants writing (the latest replaces any waiting, which the write callback reads).
  void Due();

 private:
  void WriteNow();

  platform::LoopIdle* idle_;
  std::function<void()> write_;
  std::optional<std::uint64_t> writtenAtTurn_;
  bool waiting_ = false;
  std::shared_ptr<char> alive_ = std::make_shared<char>();  // the loop's work outlives no pacing
};

}  // namespace lumenor::display
