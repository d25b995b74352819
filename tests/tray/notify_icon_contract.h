#pragma once
// What the tray relies on of the notification area, run against the fake natively and against
// Shell_NotifyIconA under Wine: icons are kept by window and identifier, a second add of the same
// icon fails, modify and delete need the icon to be there.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/notify_icon.h"
#include "tray/notify_record.h"

namespace lumenor::tray {

inline void ExpectNotifyIconContract(platform::NotifyIcon& shell, std::uint64_t window,
                                     std::uint64_t icon) {
  using platform::NotifyAction;
  NotifyRecord record;
  record.SetWindow(window);
  record.SetId(0x7A11);
  record.SetFlags(kTrayFlags);
  record.SetCallbackMessage(kTrayCallbackMessage);
  record.SetIcon(icon);
  record.SetTip(kTrayTooltip);

  NotifyRecord other = record;
  other.SetId(0x7A12);

  EXPECT_FALSE(shell.Notify(NotifyAction::Modify, record.Bytes())) << "modify before add";
  EXPECT_FALSE(shell.Notify(NotifyAction::Delete, record.Bytes())) << "delete before add";
  EXPECT_TRUE(shell.Notify(NotifyAction::Add, record.Bytes()));
  EXPECT_FALSE(shell.Notify(NotifyAction::Add, record.Bytes())) << "second add of the same icon";
  EXPECT_TRUE(shell.Notify(NotifyAction::Add, other.Bytes())) << "another identifier, same window";

  record.SetInfoTitle("显示器");
  record.SetInfo("亮度已调整");
  EXPECT_TRUE(shell.Notify(NotifyAction::Modify, record.Bytes())) << "balloon";
  record.SetInfoTitle("");
  record.SetInfo("");
  EXPECT_TRUE(shell.Notify(NotifyAction::Modify, record.Bytes())) << "balloon taken down";

  EXPECT_TRUE(shell.Notify(NotifyAction::Delete, record.Bytes()));
  EXPECT_FALSE(shell.Notify(NotifyAction::Delete, record.Bytes())) << "second delete";
  EXPECT_FALSE(shell.Notify(NotifyAction::Modify, record.Bytes())) << "modify after delete";
  EXPECT_TRUE(shell.Notify(NotifyAction::Delete, other.Bytes()));
}

}  // namespace lumenor::tray
