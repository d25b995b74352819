#include "settings/settings_keeper.h"

#include <string>

#include "settings/settings_file.h"

namespace lumenor::settings {

SettingsKeeper::SettingsKeeper(SettingsStore& store, platform::Notices& notices)
    : store_(store), notices_(notices) {}

void SettingsKeeper::Load() {
  settings_ = Settings{};
  StoredFile file = store_.Read(kMaxFileBytes);
  std::string problem;
  switch (file.status) {
    case StoredStatus::Missing:
      return;
    case StoredStatus::Unreadable:
      // Not moved aside: what cannot be read cannot be renamed either, and is no one's to lose.
      Tell(std::string{kUnreadableLead} + store_.Where() + "：" + file.reason);
      return;
    case StoredStatus::TooLarge:
      problem = "文件大于 64 KB";
      break;
    case StoredStatus::Read: {
      ReadOutcome outcome = ReadSettings(file.bytes);
      if (!outcome.refused) {
        settings_ = std::move(outcome.settings);
        return;
      }
      problem = outcome.problem;
      break;
    }
  }
  badNotKept_ = !store_.KeepAsBad();
  std::string text{kRefusedLead};
  text += problem;
  text += badNotKept_ ? kRefusedNotKeptTail : kRefusedTail;
  text += store_.Where();
  Tell(text);
}

void SettingsKeeper::Change(Settings changed) {
  if (changed == settings_) return;
  settings_ = std::move(changed);
  Write();
}

void SettingsKeeper::AtEnd(const WindowState& state) {
  if (!settings_.restoreAtStart) return;
  settings_.lastState = state;
  Write();
}

void SettingsKeeper::Write() {
  std::optional<std::string> failure;
  if (badNotKept_) {
    failure = std::string{kBadNotKeptReason};
  } else {
    failure = store_.Replace(WriteSettings(settings_));
  }
  if (failure) {
    if (toldWriteFailure_) return;
    toldWriteFailure_ = true;
    Tell(std::string{kWriteFailedLead} + store_.Where() + "：" + *failure);
  }
}

void SettingsKeeper::Tell(const std::string& text) {
  notices_.Show(platform::kNoticeTitle, text);
}

}  // namespace lumenor::settings
