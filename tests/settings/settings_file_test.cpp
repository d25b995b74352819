// lumenor.ini read and written: every row's file reads as the settings the row expects, and those
// settings, written and read again, come back the same.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumenor::settings {
namespace {

Settings Chosen() {
  Settings s;
  s.darkerKey = {1 | 4, 'D'};  // Alt+Shift+D
  s.brighterKey = {8, 0x26};   // Win+↑
  s.displaysLeftOut = {"\\\\?\\DISPLAY#GSM5B7F#5&1a2b3c&0&UID4353#{e6f07b5f}", "name:显示器 2"};
  s.backlightFirst = false;
  s.restoreAtStart = true;
  s.includeInScreenshots = true;
  s.showLevel = false;
  s.lastState = WindowState{-50, 300, 50, -1, 7, -255, true, {{"\\\\?\\DISPLAY#GSM5B7F#1", 0},
                                                              {"name:显示器 2, 左", 65535}}};
  return s;
}

Settings With(void (*change)(Settings&)) {
  Settings s;
  change(s);
  return s;
}

struct Row {
  const char* name;
  std::string file;
  bool refused;
  Settings expected;
};

std::vector<Row> Rows() {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 151 + 7) % 256);
  return {
      {"the chosen settings, round trip", WriteSettings(Chosen()), false, Chosen()},
      {"no lines at all", "", false, Settings{}},
      {"with a byte order mark and CR LF", "\xEF\xBB\xBF" "darker=3,65\r\nrestore_at_start=1\r\n",
       false, With([](Settings& s) { s.darkerKey = {3, 'A'}; s.restoreAtStart = true; })},
      {"binary junk", junk, true, Settings{}},
      {"a NUL inside otherwise good text", std::string("darker=3,65\n\0\n", 14), true, Settings{}},
      {"ten megabytes", std::string(10 * 1024 * 1024, 'a'), true, Settings{}},
      {"a line of 100,000 characters", "darker=3,65\nleave_out=" + std::string(100000, 'x'), true,
       Settings{}},
      {"a long line within the size is skipped",
       "leave_out=" + std::string(5000, 'x') + "\nrestore_at_start=1\n", false,
       With([](Settings& s) { s.restoreAtStart = true; })},
      {"a key with no modifier", "darker=0,65\nbrighter=3,66\n", false,
       With([](Settings& s) { s.brighterKey = {3, 'B'}; })},
      {"Shift alone is no modifier", "darker=4,65\n", false, Settings{}},
      {"key code 0 and 255", "darker=2,0\nbrighter=2,255\n", false, Settings{}},
      {"one combination for both keys", "darker=2,65\nbrighter=2,65\n", false, Settings{}},
      {"duplicate names: the first holds", "restore_at_start=1\nrestore_at_start=0\n"
       "darker=2,65\ndarker=2,66\nleave_out=a\nleave_out=a\nleave_out=b\n", false,
       With([](Settings& s) {
         s.restoreAtStart = true; s.darkerKey = {2, 'A'}; s.displaysLeftOut = {"a", "b"};
       })},
      {"unknown lines and sections", "[Lumenor]\n; a comment\ncolour=blue\nno equals\n=1\n"
       "include_in_screenshots=1\nshow_level=0\n", false,
       With([](Settings& s) { s.includeInScreenshots = true; s.showLevel = false; })},
      {"values out of range", "darker=16,65\nbrighter=2,-39\nbacklight_first=2\n"
       "restore_at_start=yes\nshow_level=2\nlast_brightness=51\nlast_contrast=0\nlast_darkness=-256\n"
       "last_red=-50\nlast_enhance=1\n", false,
       With([](Settings& s) { s.lastState = WindowState{.red = -50, .enhance = true}; })},
      {"backlights: a level out of range, a line too long, a duplicate identity",
       "last_backlight=65536,A\nlast_backlight=-1,B\nlast_backlight=70\nlast_backlight=5,"
       + std::string(5000, 'x') + "\nlast_backlight=40,C\nlast_backlight=90,C\n"
       "last_backlight=x,D\nlast_backlight=7, E\n", false,
       With([](Settings& s) { s.lastState = WindowState{.backlights = {{"C", 40}}}; })},
      {"a display that is no longer attached is kept",
       "leave_out=\\\\?\\DISPLAY#GONE#0\n", false,
       With([](Settings& s) { s.displaysLeftOut = {"\\\\?\\DISPLAY#GONE#0"}; })},
  };
}

TEST(SettingsFile_ReadWrite, EachFileReadsAsExpectedAndWritesBackTheSame) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.name);
    const ReadOutcome read = ReadSettings(row.file);
    EXPECT_EQ(read.refused, row.refused);
    EXPECT_EQ(read.problem.empty(), !row.refused);
    EXPECT_TRUE(read.settings == row.expected);
    const ReadOutcome again = ReadSettings(WriteSettings(read.settings));
    EXPECT_FALSE(again.refused);
    EXPECT_TRUE(again.settings == read.settings);
  }
}

TEST(SettingsFile_StateToRestore, NoOverlayMoreOpaqueThan160) {
  for (const int darkness : {-255, -161, -160, 0, 121, 160, 161, 255}) {
    SCOPED_TRACE(darkness);
    const WindowState restored = StateToRestore(WindowState{.contrast = 90, .darkness = darkness});
    EXPECT_EQ(restored.darkness, darkness < -160 ? -160 : darkness > 160 ? 160 : darkness);
    EXPECT_EQ(restored.contrast, 90);
  }
}

}  // namespace
}  // namespace lumenor::settings
