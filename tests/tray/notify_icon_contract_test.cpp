#include "tray/notify_icon_contract.h"

#include "support/fake_notify_icon.h"

namespace lumenor::tray {
namespace {

TEST(FakeNotifyIcon_Notify, KeepsIconsByWindowAndIdentifierAsTheShellDoes) {
  testing::FakeNotifyIcon shell;
  ExpectNotifyIconContract(shell, 0x00010A2C, 0x00020B3E);
  EXPECT_TRUE(shell.icons.empty());
}

TEST(FakeNotifyIcon_Notify, RefusesARecordOfUnknownSize) {
  testing::FakeNotifyIcon shell;
  NotifyRecord record;
  std::vector<std::uint8_t> bytes(record.Bytes().begin(), record.Bytes().end());
  bytes[0] = 0x58;  // cbSize 88: the oldest form, without the tooltip of 128 bytes
  bytes[1] = 0;
  EXPECT_FALSE(shell.Notify(platform::NotifyAction::Add, bytes));
  EXPECT_TRUE(shell.icons.empty());
}

}  // namespace
}  // namespace lumenor::tray
