#pragma once
// The settings of this run: read once at start, written whole when the user changes one, and at
// the end while "启动时恢复上次的设置" is on. A user who changes nothing gets no file. What goes
// wrong with the file is said once in the balloon; the settings in memory stay as they are.

#include "platform/notices.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace lumenor::settings {

class SettingsKeeper {
 public:
  SettingsKeeper(SettingsStore& store, platform::Notices& notices);

  // Reads the file. One that makes no sense gives the defaults, one balloon, and is kept as
  // lumenor.ini.bad; no file gives the defaults in silence.
  void Load();

  const Settings& Current() const { return settings_; }

  // Takes the settings the user changed (Current() with a change); writes the file when they are
  // other than they were.
  void Change(Settings changed);

  // The end of the run: with "启动时恢复上次的设置" on, the window's state is kept in the file,
  // with the backlight levels kept before for displays that state does not name.
  void AtEnd(const WindowState& state);

 private:
  void Write();
  void Tell(std::string_view lead, std::string_view detail);

  SettingsStore& store_;
  platform::Notices& notices_;
  Settings settings_;
  bool badNotKept_ = false;     // a refused file could not be moved aside: never written over
  bool toldWriteFailure_ = false;
};

// The balloon's texts.
// Each is followed by the file's path, "：" and what went wrong.
inline constexpr std::string_view kRefusedLead = "无法使用设置文件 ";
inline constexpr std::string_view kRefusedTail = "，已改用默认设置，原文件已另存为 lumenor.ini.bad";
inline constexpr std::string_view kRefusedNotKeptTail = "，已改用默认设置，原文件保留不动";
inline constexpr std::string_view kUnreadableLead = "已改用默认设置，无法读取设置文件 ";
inline constexpr std::string_view kWriteFailedLead = "设置无法保存到 ";
inline constexpr std::string_view kBadNotKeptReason = "无法使用的原文件未能另存为 lumenor.ini.bad";

}  // namespace lumenor::settings
