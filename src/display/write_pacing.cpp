#include "display/write_pacing.h"

#include <utility>

namespace lumenor::display {

WritePacing::WritePacing(platform::LoopIdle* idle, std::function<void()> write)
    : idle_(idle), write_(std::move(write)) {}

void WritePacing::Due() {
  if (idle_ == nullptr || writtenAtTurn_ != idle_->IdleTurns()) {
    WriteNow();
    return;
  }
  if (waiting_) return;  // already waiting for the idle turn, which writes the latest
  waiting_ = true;
  idle_->AtNextIdle([this, alive = std::weak_ptr<char>(alive_)] {
    if (!alive.expired() && waiting_) WriteNow();
  });
}

void WritePacing::WriteNow() {
  waiting_ = false;
  if (idle_ != nullptr) writtenAtTurn_ = idle_->IdleTurns();
  write_();
}

}  // namespace lumenor::display
