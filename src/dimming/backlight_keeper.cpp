#include "dimming/backlight_keeper.h"

#include <utility>

namespace lumenor::dimming {

std::optional<BacklightAbility> BacklightKeeper::Ability() const {
  if (status_ != Status::Driven || !known_) return std::nullopt;
  return BacklightAbility{known_->maximum, readLevel_, firstLevel_};
}

std::optional<BacklightKeeper::Request> BacklightKeeper::Next() const {
  if (status_ == Status::None) return std::nullopt;
  if (readDue_ || !opened_) return Request{Request::Kind::Read, 0};
  if (status_ != Status::Driven || !known_ || !target_) return std::nullopt;
  if (*target_ == known_->current) return std::nullopt;
  return Request{Request::Kind::Write, *target_};
}

void BacklightKeeper::AskAgain() {
  if (givenUp_) return;  // for the rest of the run
  if (status_ == Status::None) {
    // No DDC/CI when last asked: look for the monitor afresh.
    status_ = Status::Unknown;
    opened_ = false;
  }
  readDue_ = true;
}

void BacklightKeeper::Relisted(platform::DisplayInfo info) {
  info_ = std::move(info);
  if (givenUp_) return;
  opened_ = false;
  readDue_ = true;
}

void BacklightKeeper::Unanswered() {
  readDue_ = false;
  if (status_ == Status::Unknown) status_ = Status::None;
}

void BacklightKeeper::AfterWake() {
  if (status_ == Status::Driven && target_) rewriteDue_ = true;
}

void BacklightKeeper::SetTarget(std::uint32_t level) {
  if (known_ && level > known_->maximum) level = known_->maximum;
  target_ = level;
}

void BacklightKeeper::Opened(std::shared_ptr<platform::MonitorBacklight> monitor) {
  opened_ = true;
  monitor_ = std::move(monitor);
  if (!monitor_) {
    status_ = Status::None;  // quietly: no DDC/CI
    readDue_ = false;
  }
}

BacklightKeeper::Outcome BacklightKeeper::OnRead(
    const std::optional<platform::BacklightLevel>& level) {
  if (!level || level->maximum == 0) return Outcome::Failed;
  readDue_ = false;
  // Where the program left it (read or written last): a target asked for while the read was under
  // way still holds. Anywhere else it was set on the monitor itself, and goes on from there.
  const bool whereLeft = known_ && known_->current == level->current;
  known_ = *level;
  if (status_ != Status::Driven) {
    status_ = Status::Driven;
    if (!target_) firstLevel_ = level->current;
  }
  if (rewriteDue_) {
    // Some monitors go back to their own level on wake: the one taken last goes back.
    rewriteDue_ = false;
  } else if (!whereLeft || !target_) {
    readLevel_ = level->current;
    target_ = level->current;
  }
  return Outcome::Done;
}

BacklightKeeper::Outcome BacklightKeeper::OnWrite(
    std::uint32_t asked, bool accepted, const std::optional<platform::BacklightLevel>& readBack) {
  if (!accepted || !readBack) return Outcome::Failed;
  known_ = *readBack;
  return readBack->current == asked ? Outcome::Done : Outcome::Ignored;
}

bool BacklightKeeper::GiveUp() {
  // One that never answered may answer after a display change; one that failed after answering is
  // not asked again.
  givenUp_ = status_ == Status::Driven;
  status_ = Status::None;
  readDue_ = false;
  rewriteDue_ = false;
  return givenUp_;
}

}  // namespace lumenor::dimming
