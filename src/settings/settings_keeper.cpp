#include "settings/settings_keeper.h"

#include <algorithm>
#include <string>
#include <utility>

#include "settings/settings_file.h"

namespace lumenor::settings {

namespace {

// Takes the next line of `rest` into `line`; false at the end.
bool NextLine(std::string_view& rest, std::string_view& line) {
  if (rest.empty()) return false;
  const std::size_t end = std::min(rest.find('\n'), rest.size());
  line = rest.substr(0, end);
  rest.remove_prefix(std::min(end + 1, rest.size()));
  return true;
}

std::string_view NameOf(std::string_view line) {
  return line.substr(0, line.find('='));
}

// The lines of that name in the file form, in their order.
std::string Named(std::string_view text, std::string_view name) {
  std::string named;
  for (std::string_view line; NextLine(text, line);) {
    if (NameOf(line) == name) named.append(line).push_back('\n');
  }
  return named;
}

// The settings a file holds with what changed from `began` to `now` laid over them. The change is
// told apart name by name in the file's own form, so a setting added later is carried without
// being named here; a name the change took away goes with the file's lines of that name.
Settings LaidOver(const Settings& file, const Settings& began, const Settings& now) {
  const std::string before = WriteSettings(began);
  const std::string after = WriteSettings(now);
  const auto changed = [&](std::string_view line) {
    return Named(before, NameOf(line)) != Named(after, NameOf(line));
  };
  std::string text;
  const std::string held = WriteSettings(file);
  for (std::string_view rest = held, line; NextLine(rest, line);) {
    if (!changed(line)) text.append(line).push_back('\n');
  }
  for (std::string_view rest = after, line; NextLine(rest, line);) {
    if (changed(line)) text.append(line).push_back('\n');
  }
  return ReadSettings(text).settings;
}

}  // namespace

SettingsKeeper::SettingsKeeper(SettingsStore& store, platform::Notices& notices)
    : store_(store), notices_(notices) {}

void SettingsKeeper::Load() {
  StoredFile file = store_.Read(kMaxFileBytes, kPatienceAtStart);
  if (file.status == StoredStatus::Unreadable) {
    // Not moved aside: what cannot be read cannot be renamed either, and is no one's to lose. The
    // run goes on with the defaults.
    file.status = StoredStatus::Missing;
    unreadFrom_.emplace();
    Tell(kUnreadableLead, file.reason);
  }
  settings_ = Take(std::move(file));
}

Settings SettingsKeeper::Take(StoredFile file) {
  if (file.status == StoredStatus::Missing) return {};
  std::string_view problem = "文件大于 64 KB";
  ReadOutcome outcome;
  if (file.status == StoredStatus::Read) {
    outcome = ReadSettings(file.bytes);
    if (!outcome.refused) return std::move(outcome.settings);
    problem = outcome.problem;
  }
  badNotKept_ = !store_.KeepAsBad();
  std::string text{problem};
  text += badNotKept_ ? kRefusedNotKeptTail : kRefusedTail;
  Tell(kRefusedLead, text);
  return {};
}

std::optional<std::string> SettingsKeeper::CatchUp() {
  if (!unreadFrom_) return std::nullopt;
  StoredFile file = store_.Read(kMaxFileBytes, std::chrono::milliseconds{0});
  if (file.status == StoredStatus::Unreadable) return std::move(file.reason);
  settings_ = LaidOver(Take(std::move(file)), *unreadFrom_, settings_);
  unreadFrom_.reset();
  return std::nullopt;
}

void SettingsKeeper::Change(Settings changed) {
  if (changed == settings_) return;
  settings_ = std::move(changed);
  Save();
}

void SettingsKeeper::Save() {
  if (const std::optional<std::string> unread = CatchUp()) {
    waiting_ = true;
    if (!toldWaiting_) {
      toldWaiting_ = true;
      Tell(kWaitingLead, *unread);
    }
    return;
  }
  waiting_ = false;
  Write();
}

void SettingsKeeper::AtEnd(const WindowState& state) {
  if (CatchUp()) return;  // still unread: nothing may be written over it
  if (!settings_.restoreAtStart) {
    if (waiting_) Save();
    return;
  }
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
  Save();
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
