#pragma once
// A slider's notifications may come faster than the displays take their ramps (a write can take
// up to 200 ms on some hardware). An operation is written at once when nothing was written since
// the message loop last went idle; otherwise it waits for the loop's next idle turn, and only the
// latest one waiting is written then. The last value of a drag is always written, none twice.

#include <cstdint>
#include <optional>

#include "platform/loop_idle.h"

namespace lumenor::display {

class WritePacing final : private platform::IdleWork {
 public:
  class Writer {
   public:
    // Writes the latest operation.
    virtual void WriteLatest() = 0;

   protected:
    ~Writer() = default;
  };

  // Without a loop that tells its idle turns every operation is written at once.
  WritePacing(platform::LoopIdle* idle, Writer& writer);
  ~WritePacing();
  WritePacing(const WritePacing&) = delete;
  WritePacing& operator=(const WritePacing&) = delete;

  // An operation wants writing (the latest replaces any waiting).
  void Due();

 private:
  void OnLoopIdle() override;
  void WriteNow();

  platform::LoopIdle* idle_;
  Writer& writer_;
  std::optional<std::uint64_t> writtenAtTurn_;
  bool waiting_ = false;
};

}  // namespace lumenor::display
