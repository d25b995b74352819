#pragma once
// The settings of this run: read once at start, written whole when the user changes one, and at
// the end while "启动时恢复上次的设置" is on. A user who changes nothing gets no file. What goes
// wrong with the file is said once in the balloon; the settings in memory stay as they are.
// A file that is there but could not be read (another program held it past the start's patience)
// is never written over before it is read: it is read again before each write, and what the user
// changed meanwhile is laid over what it holds; until then the change waits in memory.

#include <chrono>
#include <optional>
#include <string>

#include "platform/notices.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace lumenor::settings {

class SettingsKeeper {
 public:
  SettingsKeeper(SettingsStore& store, platform::Notices& notices);

  // Reads the file, waiting for up to kPatienceAtStart while another program holds it. One that
  // makes no sense gives the defaults, one balloon, and is kept as lumenor.ini.bad; no file gives
  // the defaults in silence.
  void Load();

  const Settings& Current() const { return settings_; }

  // Takes the settings the user changed (Current() with a change); writes the file when they are
  // other than they were. Current() may then also hold what an unread file held.
  void Change(Settings changed);

  // The end of the run: with "启动时恢复上次的设置" on, the window's state is kept in the file,
  // with the backlight levels kept before for displays that state does not name; a change still
  // waiting for an unread file is written if the file can be read now.
  void AtEnd(const WindowState& state);

 private:
  // The settings a file gives: the defaults when there is none or it makes no sense (said, and
  // kept aside).
  Settings Take(StoredFile file);
  // Reads an unread file and lays the changes made since the start over it; what the system
  // said when it still cannot be read.
  std::optional<std::string> CatchUp();
  void Save();
  void Write();
  void Tell(std::string_view lead, std::string_view detail);

  SettingsStore& store_;
  platform::Notices& notices_;
  Settings settings_;
  // While the file is there unread: the settings the run began with, against which the user's
  // changes are told apart.
  std::optional<Settings> unreadFrom_;
  bool waiting_ = false;     // a change waits in memory for the file to be read
  bool badNotKept_ = false;  // a refused file could not be moved aside: never written over
  bool toldWriteFailure_ = false;
  bool toldWaiting_ = false;
};

// How long the start waits for a file another program holds before going on without it.
inline constexpr std::chrono::milliseconds kPatienceAtStart{5000};

// The balloon's texts.
// Each is followed by the file's path, "：" and what went wrong.
inline constexpr std::string_view kRefusedLead = "无法使用设置文件 ";
inline constexpr std::string_view kRefusedTail = "，已改用默认设置，原文件已另存为 lumenor.ini.bad";
inline constexpr std::string_view kRefusedNotKeptTail = "，已改用默认设置，原文件保留不动";
inline constexpr std::string_view kUnreadableLead = "已改用默认设置，无法读取设置文件 ";
inline constexpr std::string_view kWriteFailedLead = "设置无法保存到 ";
inline constexpr std::string_view kWaitingLead =
    "设置暂存于内存，下次更改或退出时再保存，现在无法读取 ";
inline constexpr std::string_view kBadNotKeptReason = "无法使用的原文件未能另存为 lumenor.ini.bad";

}  // namespace lumenor::settings
