#include "tray/tray_icon.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/fake_notify_icon.h"

namespace lumenor::tray {
namespace {

using platform::NotifyAction;
using testing::FakeNotifyIcon;

class FakeTrayHost : public TrayHost {
 public:
  std::uint64_t Window() const override { return window; }
  std::uint64_t OwnIcon() const override { return ownIcon; }
  std::uint64_t LoadIconFile() override {
    if (loadError) throw *loadError;
    return fileIcon;
  }
  void StartBalloonTimer(std::uint32_t ms) override {
    timer = ms;
    ++timerStarts;
  }
  void StopBalloonTimer() override { timer.reset(); }
  void StartAddRetryTimer(std::uint32_t ms) override { retryTimer = ms; }
  void StopAddRetryTimer() override { retryTimer.reset(); }
  void OpenMenu() override { ++menus; }
  void ShowMainWindow() override { ++mainWindowShows; }
  void ShowErrorReport(std::string_view text) override { reports.emplace_back(text); }

  std::uint64_t window = 0x00010A2C;
  std::uint64_t ownIcon = 0x00020B3E;
  std::uint64_t fileIcon = 0;  // no tray.ico
  std::optional<TrayError> loadError;
  std::optional<std::uint32_t> timer;  // interval while running
  int timerStarts = 0;
  std::optional<std::uint32_t> retryTimer;  // interval while running
  int menus = 0;
  int mainWindowShows = 0;
  std::vector<std::string> reports;
};

std::string FieldText(const std::vector<std::uint8_t>& record, std::size_t offset,
                      std::size_t size) {
  std::string text;
  for (std::size_t i = offset; i < offset + size && record[i] != 0; ++i) {
    text += static_cast<char>(record[i]);
  }
  return text;
}

std::uint32_t U32(const std::vector<std::uint8_t>& record, std::size_t offset) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v |= std::uint32_t{record[offset + i]} << (8 * i);
  return v;
}

std::uint64_t Handle(const std::vector<std::uint8_t>& record, std::size_t offset) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < kNotifyLayout.pointerSize; ++i) {
    v |= std::uint64_t{record[offset + i]} << (8 * i);
  }
  return v;
}

// A tray icon over a fake window and a fake notification area.
struct Tray {
  FakeTrayHost host;
  FakeNotifyIcon shell;
  TrayIcon tray{host, shell};
};

TEST(TrayIcon_AddTrayIcon, AddsTheProgramsIconWithTooltipUnderTheWindowsOwnIconHandle) {
  Tray t;
  auto& [host, shell, tray] = t;
  EXPECT_EQ(tray.AddTrayIcon(kTrayTooltip), 0);
  ASSERT_EQ(shell.calls.size(), 1u);
  const auto& call = shell.calls[0];
  EXPECT_EQ(call.action, NotifyAction::Add);
  EXPECT_TRUE(call.accepted);
  const auto& l = kNotifyLayout;
  EXPECT_EQ(U32(call.record, l.cbSize), l.size);
  EXPECT_EQ(Handle(call.record, l.hWnd), host.window);
  EXPECT_EQ(U32(call.record, l.uID), host.ownIcon);
  EXPECT_EQ(U32(call.record, l.uFlags), 0x17u);
  EXPECT_EQ(U32(call.record, l.uCallbackMessage), 0x200u);
  EXPECT_EQ(Handle(call.record, l.hIcon), host.ownIcon);  // no tray.ico: the window's own icon
  EXPECT_EQ(FieldText(call.record, l.szTip, kTipBytes), "显示器亮度调节增强");
  EXPECT_EQ(FieldText(call.record, l.szInfo, kInfoBytes), "");
  EXPECT_TRUE(host.reports.empty());
}

TEST(TrayIcon_AddTrayIcon, ShowsTrayIcoWhenItLoadsAndKeepsTheIdentifier) {
  Tray t;
  auto& [host, shell, tray] = t;
  host.fileIcon = 0x00030C4F;
  tray.AddTrayIcon(kTrayTooltip);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(Handle(shell.calls[0].record, kNotifyLayout.hIcon), host.fileIcon);
  EXPECT_EQ(U32(shell.calls[0].record, kNotifyLayout.uID), host.ownIcon);
  EXPECT_EQ(FieldText(shell.calls[0].record, kNotifyLayout.szTip, kTipBytes), "显示器亮度调节增强");
}

TEST(TrayIcon_Record, EveryCallPassesTheSameWindowAndIdentifier) {
  Tray t;
  auto& [host, shell, tray] = t;
  tray.AddTrayIcon(kTrayTooltip);
  tray.TrayBalloon("文本", "标题", 3000);
  tray.OnBalloonTimer();
  tray.RemoveTrayIcon();
  ASSERT_EQ(shell.calls.size(), 4u);
  for (const auto& call : shell.calls) {
    EXPECT_TRUE(call.accepted);
    EXPECT_EQ(Handle(call.record, kNotifyLayout.hWnd), host.window);
    EXPECT_EQ(U32(call.record, kNotifyLayout.uID), host.ownIcon);
    EXPECT_EQ(U32(call.record, kNotifyLayout.uFlags), kTrayFlags);
  }
  EXPECT_TRUE(shell.icons.empty());
}

TEST(TrayIcon_OnIconMessage, OpensTheMenuOnlyOnRightButtonUp) {
  Tray t;
  auto& [host, shell, tray] = t;
  struct Case {
    std::uint32_t message;
    int menus;
    int shows;
  };
  const Case cases[] = {
      {kWmRButtonUp, 1, 0},      // 517
      {kWmRButtonDown, 0, 0},    // pressing opens nothing
      {kWmMouseMove, 0, 0},      // moving over the icon opens nothing
      {kWmLButtonDblClk, 0, 1},  // our choice: a left double-click shows the main window
      {0x201, 0, 0},             // left button down
      {0x202, 0, 0},             // left button up
      {0x206, 0, 0},             // right double-click
      {0, 0, 0},
  };
  for (const auto& c : cases) {
    FakeTrayHost h;
    TrayIcon t(h, shell);
    t.OnIconMessage(c.message);
    EXPECT_EQ(h.menus, c.menus) << c.message;
    EXPECT_EQ(h.mainWindowShows, c.shows) << c.message;
  }
  EXPECT_EQ(DecideIconAction(517), IconAction::OpenMenu);
  EXPECT_EQ(DecideIconAction(0x204), IconAction::None);
  EXPECT_EQ(DecideIconAction(0x200), IconAction::None);
}

TEST(TrayIcon_TrayBalloon, With3000ShowsBalloonAndItsOneTickTakesItDown) {
  Tray t;
  auto& [host, shell, tray] = t;
  tray.AddTrayIcon(kTrayTooltip);
  tray.TrayBalloon("亮度已调整", "显示器", 3000);
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].action, NotifyAction::Modify);
  EXPECT_EQ(FieldText(shell.calls[1].record, kNotifyLayout.szInfo, kInfoBytes), "亮度已调整");
  EXPECT_EQ(FieldText(shell.calls[1].record, kNotifyLayout.szInfoTitle, kInfoTitleBytes), "显示器");
  EXPECT_EQ(host.timer, 3000u);
  EXPECT_EQ(host.timerStarts, 1);

  tray.OnBalloonTimer();
  ASSERT_EQ(shell.calls.size(), 3u);
  const auto& cleared = shell.calls[2].record;
  EXPECT_EQ(shell.calls[2].action, NotifyAction::Modify);
  EXPECT_EQ(cleared[kNotifyLayout.szInfo], 0);
  EXPECT_EQ(cleared[kNotifyLayout.szInfo + 1], ' ');
  EXPECT_EQ(cleared[kNotifyLayout.szInfoTitle], 0);
  EXPECT_EQ(cleared[kNotifyLayout.szInfoTitle + 1], ' ');
  EXPECT_EQ(FieldText(cleared, kNotifyLayout.szTip, kTipBytes), "显示器亮度调节增强");
  EXPECT_FALSE(host.timer.has_value());  // disabled: one tick per balloon
  EXPECT_EQ(host.timerStarts, 1);
}

TEST(TrayIcon_TrayBalloon, WithZeroOrNegativeTimeSetsNoTimer) {
  Tray t;
  auto& [host, shell, tray] = t;
  tray.AddTrayIcon(kTrayTooltip);
  tray.TrayBalloon("文本", "标题", 0);
  tray.TrayBalloon("文本", "标题", -1);
  EXPECT_EQ(host.timerStarts, 0);
  EXPECT_FALSE(host.timer.has_value());
  ASSERT_EQ(shell.calls.size(), 3u);
  EXPECT_EQ(FieldText(shell.calls[2].record, kNotifyLayout.szInfo, kInfoBytes), "文本");
}

TEST(TrayIcon_RemoveTrayIcon, DeletesTheIconOnceAndStopsABalloonTimer) {
  Tray t;
  auto& [host, shell, tray] = t;
  tray.AddTrayIcon(kTrayTooltip);
  tray.TrayBalloon("文本", "标题", 3000);
  EXPECT_EQ(tray.RemoveTrayIcon(), 0);
  EXPECT_EQ(tray.RemoveTrayIcon(), 0);
  ASSERT_EQ(shell.calls.size(), 3u);
  EXPECT_EQ(shell.calls[2].action, NotifyAction::Delete);
  EXPECT_TRUE(shell.calls[2].accepted);
  EXPECT_TRUE(shell.icons.empty());
  EXPECT_FALSE(host.timer.has_value());
}

TEST(TrayIcon_OnTaskbarCreated, AddsTheIconAgainUntilItIsRemoved) {
  Tray t;
  auto& [host, shell, tray] = t;
  tray.AddTrayIcon(kTrayTooltip);
  shell.icons.clear();  // the shell restarted and lost its icons
  tray.OnTaskbarCreated();
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].action, NotifyAction::Add);
  EXPECT_TRUE(shell.calls[1].accepted);
  EXPECT_EQ(shell.calls[1].record, shell.calls[0].record);

  tray.RemoveTrayIcon();
  tray.OnTaskbarCreated();
  EXPECT_EQ(shell.calls.size(), 3u);
  EXPECT_TRUE(shell.icons.empty());
}

TEST(TrayIcon_OnTaskbarCreated, AddsTheIconAgainWithoutABalloonShownBefore) {
  Tray t;
  auto& [host, shell, tray] = t;
  tray.AddTrayIcon(kTrayTooltip);
  tray.TrayBalloon("亮度已调整", "显示器", 10000);
  shell.icons.clear();
  tray.OnTaskbarCreated();
  ASSERT_EQ(shell.calls.size(), 3u);
  const auto& added = shell.calls[2];
  EXPECT_EQ(added.action, NotifyAction::Add);
  EXPECT_EQ(FieldText(added.record, kNotifyLayout.szInfo, kInfoBytes), "");
  EXPECT_EQ(FieldText(added.record, kNotifyLayout.szInfoTitle, kInfoTitleBytes), "");
  EXPECT_EQ(FieldText(added.record, kNotifyLayout.szTip, kTipBytes), "显示器亮度调节增强");
  EXPECT_FALSE(host.timer.has_value());
}

TEST(TrayIcon_ErrorReport, TextNamesNumberDescriptionAndProcedure) {
  EXPECT_EQ(ErrorReport(53, "File not found", "addtrayicon"),
            "Error 53 (File not found) in procedure addtrayicon of Class Module quillbox");
  EXPECT_EQ(
      ErrorReport(-2147467259, "未指定的错误", "removetrayicon"),
      "Error -2147467259 (未指定的错误) in procedure removetrayicon of Class Module quillbox");
  EXPECT_EQ(ErrorReport(0, "", "addtrayicon"),
            "Error 0 () in procedure addtrayicon of Class Module quillbox");
}

TEST(TrayIcon_AddTrayIcon, ReportsAnErrorSkipsTheRestAndReturnsZero) {
  Tray t;
  auto& [host, shell, tray] = t;
  host.loadError = TrayError(5, "Access is denied.");
  EXPECT_EQ(tray.AddTrayIcon(kTrayTooltip), 0);
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_EQ(host.reports[0],
            "Error 5 (Access is denied.) in procedure addtrayicon of Class Module quillbox");
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_FALSE(tray.IconAdded());
  // Nothing was added, so removing it has nothing to delete.
  tray.RemoveTrayIcon();
  EXPECT_TRUE(shell.calls.empty());
}

class ThrowingNotifyIcon : public platform::NotifyIcon {
 public:
  bool Notify(NotifyAction action, std::span<const std::uint8_t>) override {
    if (action == NotifyAction::Delete) throw TrayError(-2147467259, "未指定的错误");
    return true;
  }
};

TEST(TrayIcon_RemoveTrayIcon, ReportsAnErrorOfTheShellAndReturnsZero) {
  FakeTrayHost host;
  ThrowingNotifyIcon shell;
  TrayIcon tray(host, shell);
  tray.AddTrayIcon(kTrayTooltip);
  EXPECT_EQ(tray.RemoveTrayIcon(), 0);
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_EQ(
      host.reports[0],
      "Error -2147467259 (未指定的错误) in procedure removetrayicon of Class Module quillbox");
}

TEST(TrayIcon_AddTrayIcon, AddsAgainForAFewSecondsWhileTheShellIsNotReady) {
  struct Row {
    const char* name;
    int ticksUntilReady;  // -1: the shell never comes within the retries
    bool shown;
  };
  const Row rows[] = {{"ready at once", 0, true},
                      {"ready at the first retry", 1, true},
                      {"ready after three retries", 3, true},
                      {"not ready for a minute", -1, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Tray t;
    auto& [host, shell, tray] = t;
    shell.ready = row.ticksUntilReady == 0;
    tray.AddTrayIcon(kTrayTooltip);
    double seconds = 0;
    for (int tick = 1; host.retryTimer && seconds < 60; ++tick) {
      seconds += *host.retryTimer / 1000.0;
      if (tick == row.ticksUntilReady) shell.ready = true;
      tray.OnAddRetryTimer();
    }
    EXPECT_FALSE(host.retryTimer) << "the retries never end";
    EXPECT_LE(seconds, 10.0) << "retried for more than a few seconds";
    EXPECT_EQ(shell.icons.size(), row.shown ? 1u : 0u);
    // Once the shell is up, its "TaskbarCreated" brings the icon whatever the retries did.
    shell.ready = true;
    tray.OnTaskbarCreated();
    EXPECT_EQ(shell.icons.size(), 1u);
  }
}

TEST(TrayIcon_AddTrayIcon, AnAddTheShellTookThoughItAnsweredNoEndsTheRetries) {
  Tray t;
  auto& [host, shell, tray] = t;
  shell.ready = false;
  tray.AddTrayIcon(kTrayTooltip);
  ASSERT_TRUE(host.retryTimer);
  // The shell was slow to answer and took it all the same.
  shell.ready = true;
  shell.icons.insert({host.window, static_cast<std::uint32_t>(host.ownIcon)});
  tray.OnAddRetryTimer();
  EXPECT_FALSE(host.retryTimer);
  EXPECT_EQ(shell.icons.size(), 1u);
  tray.RemoveTrayIcon();
  EXPECT_TRUE(shell.icons.empty());
}

}  // namespace
}  // namespace lumenor::tray
