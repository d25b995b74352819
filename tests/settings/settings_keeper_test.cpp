// The settings of a run over a store that records: what is written when, what is kept aside, and
// what the user is told.
#include "settings/settings_keeper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "support/fake_notices.h"

namespace lumenor::settings {
namespace {

class RecordingStore : public SettingsStore {
 public:
  // The reads answer in turn; the last answers every later read.
  StoredFile Read(std::size_t, std::chrono::milliseconds) override {
    return reads[std::min(readCount++, reads.size() - 1)];
  }
  bool KeepAsBad() override {
    ++keptAsBad;
    return canKeepAsBad;
  }
  std::optional<std::string> Replace(std::string_view bytes) override {
    replaced.emplace_back(bytes);
    return replaceFails ? std::optional<std::string>("磁盘已满") : std::nullopt;
  }
  std::string Where() const override { return "C:\\Lumenor\\lumenor.ini"; }

  std::vector<StoredFile> reads = {StoredFile{}};
  std::size_t readCount = 0;
  bool canKeepAsBad = true;
  bool replaceFails = false;
  int keptAsBad = 0;
  std::vector<std::string> replaced;
};

struct Row {
  const char* name;
  std::vector<StoredFile> reads;  // the load's, then each later one's
  bool canKeepAsBad;
  bool replaceFails;
  int balloons;     // after the load and two changes
  int keptAsBad;
  int writes;       // attempted
  bool restoreAtStart;  // as loaded
  bool restoreWritten;  // in the last write
  int writesAtEnd;
};

TEST(SettingsKeeper_Run, WritesOnlyChangesKeepsBadFilesAsideAndSaysEachFaultOnce) {
  const StoredFile good{StoredStatus::Read, "restore_at_start=1\n", {}};
  const StoredFile held{StoredStatus::Unreadable, {}, "另一个程序正在使用此文件，进程无法访问。"};
  const Row rows[] = {
      {"no file", {{}}, true, false, 0, 0, 2, false, false, 0},
      {"a good file", {good}, true, false, 0, 0, 2, true, true, 1},
      {"a binary file", {{StoredStatus::Read, std::string("\x01\x02", 2), {}}}, true, false, 1, 1,
       2, false, false, 0},
      {"a file too large", {{StoredStatus::TooLarge, {}, {}}}, true, false, 1, 1, 2, false, false,
       0},
      {"a bad file that cannot be moved aside is never written over",
       {{StoredStatus::TooLarge, {}, {}}}, false, false, 2, 1, 0, false, false, 0},
      {"a folder named lumenor.ini is never written over",
       {{StoredStatus::Unreadable, {}, "拒绝访问。"}}, true, true, 2, 0, 0, false, false, 0},
      {"the disk full at every write", {good}, true, true, 1, 0, 2, true, true, 1},
      // The user's file, held by another program past the start's patience.
      {"locked at start and then free: the changes go into what it holds", {held, good}, true,
       false, 1, 0, 2, false, true, 1},
      {"locked for the whole run: never written over", {held}, true, false, 2, 0, 0, false, false,
       0},
      {"locked until the end: the changes are written then", {held, held, held, good}, true, false,
       2, 0, 0, false, true, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingStore store;
    store.reads = row.reads;
    store.canKeepAsBad = row.canKeepAsBad;
    store.replaceFails = row.replaceFails;
    testing::FakeNotices notices;
    SettingsKeeper keeper(store, notices);
    keeper.Load();
    EXPECT_EQ(keeper.Current().restoreAtStart, row.restoreAtStart);
    EXPECT_TRUE(store.replaced.empty()) << "the load wrote";
    keeper.Change(keeper.Current());  // nothing changes: nothing is written
    EXPECT_TRUE(store.replaced.empty());
    Settings changed = keeper.Current();
    changed.darkerKey = {2, 'A'};
    keeper.Change(changed);
    changed = keeper.Current();  // as each command takes it: what a file read since holds too
    changed.brighterKey = {2, 'B'};
    keeper.Change(changed);
    EXPECT_EQ(static_cast<int>(notices.shown.size()), row.balloons);
    EXPECT_EQ(store.keptAsBad, row.keptAsBad);
    ASSERT_EQ(static_cast<int>(store.replaced.size()), row.writes);
    EXPECT_EQ(keeper.Current().darkerKey, (KeyChoice{2, 'A'})) << "a failed write lost a change";
    if (row.writes > 0) {
      const Settings written = ReadSettings(store.replaced.back()).settings;
      EXPECT_TRUE(written == keeper.Current());
    }
    keeper.AtEnd(WindowState{});
    ASSERT_EQ(static_cast<int>(store.replaced.size()), row.writes + row.writesAtEnd);
    if (!store.replaced.empty()) {
      const Settings written = ReadSettings(store.replaced.back()).settings;
      EXPECT_EQ(written.restoreAtStart, row.restoreWritten);
      EXPECT_EQ(written.brighterKey, (KeyChoice{2, 'B'})) << "a change was not written";
    }
    EXPECT_EQ(static_cast<int>(notices.shown.size()), row.balloons) << "said again at the end";
  }
}

TEST(SettingsKeeper_AtEnd, KeepsTheWindowOnlyWhileRestoreAtStartIsOn) {
  for (const bool restore : {false, true}) {
    SCOPED_TRACE(restore);
    RecordingStore store;
    // A display not driven in this run keeps its level for when it comes back.
    store.reads = {{StoredStatus::Read, "last_backlight=30,gone\nlast_backlight=50,here\n", {}}};
    testing::FakeNotices notices;
    SettingsKeeper keeper(store, notices);
    keeper.Load();
    if (restore) {
      Settings changed = keeper.Current();
      changed.restoreAtStart = true;
      keeper.Change(changed);
    }
    const std::size_t before = store.replaced.size();
    keeper.AtEnd(WindowState{.brightness = -20, .darkness = -200, .enhance = true,
                             .backlights = {{"here", 10}}});
    ASSERT_EQ(store.replaced.size(), before + (restore ? 1 : 0));
    if (restore) {
      EXPECT_EQ(ReadSettings(store.replaced.back()).settings.lastState,
                (WindowState{.brightness = -20, .darkness = -200, .enhance = true,
                             .backlights = {{"here", 10}, {"gone", 30}}}));
    }
  }
}

}  // namespace
}  // namespace lumenor::settings
