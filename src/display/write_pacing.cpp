#include "display/write_pacing.h"

namespace lumenor::display {

WritePacing::WritePacing(platform::LoopIdle* idle, Writer& writer) : idle_(idle), writer_(writer) {}

WritePacing::~WritePacing() {
  if (idle_ != nullptr) idle_->Forget(*this);
}

void WritePacing::Due() {
  if (idle_ == nullptr || writtenAtTurn_ != idle_->IdleTurns()) {
    WriteNow();
    return;
  }
  if (waiting_) return;  // already waiting for the idle turn, which writes the latest
  waiting_ = true;
  idle_->AtNextIdle(*this);
}

void WritePacing::OnLoopIdle() {
  if (waiting_) WriteNow();
}

void WritePacing::WriteNow() {
  waiting_ = false;
  if (idle_ != nullptr) writtenAtTurn_ = idle_->IdleTurns();
  writer_.WriteLatest();
}

}  // namespace lumenor::display
