#include "dimming/backlight_keeper.h"

#include <algorithm>
#include <utility>

namespace lumenor::dimming {

std::optional<BacklightAbility> BacklightKeeper::Ability() const {
  if (status_ != Status::Driven || !known_) return std::nullopt;
  return BacklightAbility{known_->maximum, readLevel_, firstLevel_};
}

std::optional<BacklightKeeper::Request> BacklightKeeper::Next() const {
  if (status_ == Status::None) return std::nullopt;
  if (readDue_) return Request{Request::Kind::Read, 0};
  if (status_ != Status::Driven || !known_ || !target_) return std::nullopt;
  if (*target_ == known_->current) return std::nullopt;
  return Request{Request::Kind::Write, *target_};
}

const BacklightKeeper::Member* BacklightKeeper::Lead() const {
  for (const Member& member : members_) {
    if (member.known) return &member;
  }
  return nullptr;
}

std::vector<std::optional<std::uint32_t>> BacklightKeeper::WriteLevels(
    const Request& request) const {
  const Member* lead = Lead();
  std::vector<std::optional<std::uint32_t>> levels;
  levels.reserve(members_.size());
  for (const Member& member : members_) {
    if (!member.known || lead == nullptr) {
      levels.emplace_back();
      continue;
    }
    // The same share of each monitor's own range, rounded.
    const std::uint64_t maximum = member.known->maximum;
    const std::uint64_t leadMaximum = lead->known->maximum;
    const std::uint64_t scaled = (request.level * maximum + leadMaximum / 2) / leadMaximum;
    levels.emplace_back(static_cast<std::uint32_t>(std::min(scaled, maximum)));
  }
  return levels;
}

void BacklightKeeper::AskAgain() {
  if (givenUp_) return;                                    // for the rest of the run
  if (status_ == Status::None) status_ = Status::Unknown;  // no DDC/CI when last asked
  Renew();
  readDue_ = true;
}

void BacklightKeeper::Relisted(platform::DisplayInfo info) {
  info_ = std::move(info);
  if (givenUp_) return;
  Renew();
  readDue_ = true;
}

void BacklightKeeper::Unanswered() {
  readDue_ = false;
  if (status_ == Status::Unknown) status_ = Status::None;
}

void BacklightKeeper::AfterWake() {
  Renew();  // handles do not survive sleep
  if (status_ == Status::Driven && target_) rewriteDue_ = true;
}

void BacklightKeeper::SetTarget(std::uint32_t level) {
  if (known_ && level > known_->maximum) level = known_->maximum;
  target_ = level;
}

bool BacklightKeeper::Opened(Monitors monitors) {
  if (monitors.empty() && status_ == Status::Driven) return false;
  opened_ = true;
  if (monitors.size() == members_.size()) {
    // The same monitors with renewed handles: what each answered still holds.
    for (std::size_t i = 0; i < monitors.size(); ++i) members_[i].monitor = std::move(monitors[i]);
  } else {
    members_.clear();
    for (auto& monitor : monitors) members_.push_back({std::move(monitor), std::nullopt});
    readDue_ = true;  // which of them answer is yet to be seen
  }
  if (members_.empty()) {
    status_ = Status::None;  // quietly: no DDC/CI
    readDue_ = false;
  }
  return true;
}

BacklightKeeper::Monitors BacklightKeeper::Handles() const {
  Monitors monitors;
  monitors.reserve(members_.size());
  for (const Member& member : members_) monitors.push_back(member.monitor);
  return monitors;
}

BacklightKeeper::Outcome BacklightKeeper::OnRead(const std::vector<Answer>& answers) {
  const auto answered = [](const Answer& answer) {
    return answer.level && answer.level->maximum != 0;
  };
  if (answers.size() != members_.size() || std::none_of(answers.begin(), answers.end(), answered))
    return Outcome::Failed;
  // Each on its own: one that does not answer is left out until the next read.
  for (std::size_t i = 0; i < answers.size(); ++i)
    members_[i].known = answered(answers[i]) ? answers[i].level : std::nullopt;
  const platform::BacklightLevel level = *Lead()->known;
  readDue_ = false;
  // Where the program left it (read or written last): a target asked for while the read was under
  // way still holds. Anywhere else it was set on the monitor itself, and goes on from there.
  const bool whereLeft = known_ && known_->current == level.current;
  known_ = level;
  if (status_ != Status::Driven) {
    status_ = Status::Driven;
    if (!target_) firstLevel_ = level.current;
  }
  if (rewriteDue_) {
    // Some monitors go back to their own level on wake: the one taken last goes back.
    rewriteDue_ = false;
  } else if (!whereLeft || !target_) {
    readLevel_ = level.current;
    target_ = level.current;
  }
  return Outcome::Done;
}

BacklightKeeper::Outcome BacklightKeeper::OnWrite(std::uint32_t asked,
                                                  const std::vector<Answer>& answers) {
  const std::vector<std::optional<std::uint32_t>> levels =
      WriteLevels({Request::Kind::Write, asked});
  bool failed = false;
  bool ignored = false;
  for (std::size_t i = 0; i < levels.size() && i < answers.size(); ++i) {
    if (!levels[i]) continue;  // left out
    const Answer& answer = answers[i];
    if (!answer.accepted || !answer.level) {
      failed = true;
      continue;
    }
    members_[i].known = answer.level;
    ignored = ignored || answer.level->current != *levels[i];
  }
  if (answers.size() != levels.size()) failed = true;
  if (const Member* lead = Lead()) known_ = lead->known;
  if (failed) return Outcome::Failed;
  return ignored ? Outcome::Ignored : Outcome::Done;
}

void BacklightKeeper::TakeLanded() {
  if (!known_ || status_ != Status::Driven) return;
  readLevel_ = known_->current;
  target_ = known_->current;
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
