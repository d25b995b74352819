#include "settings/settings_keeper.h"

#include <algorithm>
#include <string>
#include <utility>

#include "settings/settings_file.h"

namespace lumenor::settings {

SettingsKeeper::SettingsKeeper(SettingsStore& store, platform::Notices& notices)
    : store_(store), notices_(notices) {}

void SettingsKeeper::Load() {
  settings_ = Settings{};
  StoredFile file = store_.Read(kMaxFileBytes);
  std::string_view problem = "文件大于 64 KB";
  if (file.status == StoredStatus::Missing) return;
  if (file.status == StoredStatus::Unreadable) {
    // Not moved aside: what cannot be read cannot be renamed either, and is no one's to lose.
    Tell(kUnreadableLead, file.reason);
    return;
  }
  ReadOutcome outcome;
  if (file.status == StoredStatus::Read) {
    outcome = ReadSettings(file.bytes);
    if (!outcome.refused) {
      settings_ = std::move(outcome.settings);
      return;
    }
    problem = outcome.problem;
  }
  badNotKept_ = !store_.KeepAsBad();
  std::string text{problem};
  text += badNotKept_ ? kRefusedNotKeptTail : kRefusedTail;
  Tell(kRefusedLead, text);
}

void SettingsKeeper::Change(Settings changed) {
  if (changed == settings_) return;
  settings_ = std::move(changed);
  Write();
}

void SettingsKeeper::AtEnd(const WindowState& state) {
  if (!settings_.restoreAtStart) return;
  WindowState kept = state;
  // A display not driven in this run keeps the level it had before, for when it comes back.
  if (settings_.lastState) {
    for (const auto& earlier : settings_.lastState->backlights) {
      const bool driven = std::any_of(kept.backlights.begin(), kept.backlights.end(),
                                      [&](const auto& now) { return now.first == earlier.first; });
      if (!driven) kept.backlights.push_back(earlier);
    }
  }
  settings_.lastState = std::move(kept);
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
    Tell(kWriteFailedLead, *failure);
  }
}

// The lead, the file's path, then what went wrong.
void SettingsKeeper::Tell(std::string_view lead, std::string_view detail) {
  std::string text{lead};
  text += store_.Where();
  text += "：";
  text += detail;
  notices_.Show(platform::kNoticeTitle, text);
}

}  // namespace lumenor::settings
