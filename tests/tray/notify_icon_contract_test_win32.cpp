// The notification area's contract with the real Shell_NotifyIconA, and the tray form's icon
// in it, under Wine on the headless desktop.
#include <windows.h>

#include <memory>
#include <type_traits>

#include "platform/dialogs.h"
#include "platform/notify_icon_win32.h"
#include "platform/program_window_win32.h"
#include "tray/notify_icon_contract.h"
#include "tray/tray_form_win32.h"

namespace lumenor::tray {
namespace {

struct WindowDestroyer {
  void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

std::uint64_t Handle(const void* handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

TEST(ShellNotifyIcon_Notify, KeepsIconsByWindowAndIdentifier) {
  UniqueWindow window(CreateWindowExW(0, L"STATIC", L"contract", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_NE(window, nullptr);
  platform::ShellNotifyIcon shell;
  ExpectNotifyIconContract(shell, Handle(window.get()),
                           Handle(LoadIconW(nullptr, IDI_APPLICATION)));
}

class SilentDialogs : public platform::Dialogs {
 public:
  void ShowMessage(std::string_view text, std::string_view, platform::MessageIcon) override {
    ADD_FAILURE() << "unexpected message: " << text;
  }
};

// The record of the icon the tray form added: its window and its own icon's handle as identifier.
NotifyRecord TrayFormRecord(HWND window) {
  NotifyRecord record;
  record.SetWindow(Handle(window));
  record.SetId(static_cast<std::uint32_t>(
      Handle(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)))));
  return record;
}

TEST(TrayForm_Load, AddsItsIconHiddenAndUnloadRemovesIt) {
  SilentDialogs dialogs;
  platform::ShellNotifyIcon shell;
  int shows = 0;
  platform::ProgramWindow program(GetModuleHandleW(nullptr), {});
  TrayForm form(GetModuleHandleW(nullptr), dialogs, program, {[&] { ++shows; }, [] {}});
  ASSERT_NE(form.Window(), nullptr);
  EXPECT_FALSE(IsWindowVisible(form.Window()));
  EXPECT_EQ(shows, 0);  // the main window is the caller's to show

  const NotifyRecord record = TrayFormRecord(form.Window());
  EXPECT_NE(record.ReadU32(record.Layout().uID), 0u);
  // The icon is there: modifying it works, adding it again does not.
  EXPECT_TRUE(shell.Notify(platform::NotifyAction::Modify, record.Bytes()));
  EXPECT_FALSE(shell.Notify(platform::NotifyAction::Add, record.Bytes()));

  form.Unload();
  EXPECT_FALSE(shell.Notify(platform::NotifyAction::Modify, record.Bytes()));
  form.Unload();  // a second unload deletes nothing
}

TEST(TrayForm_TaskbarCreated, AddsTheIconAgainAfterTheShellLostIt) {
  SilentDialogs dialogs;
  platform::ShellNotifyIcon shell;
  platform::ProgramWindow program(GetModuleHandleW(nullptr), {});
  TrayForm form(GetModuleHandleW(nullptr), dialogs, program, {[] {}, [] {}});
  const NotifyRecord record = TrayFormRecord(form.Window());
  // The shell restarts without our icon, then tells every top-level window.
  ASSERT_TRUE(shell.Notify(platform::NotifyAction::Delete, record.Bytes()));
  SendMessageW(form.Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(shell.Notify(platform::NotifyAction::Modify, record.Bytes()));
  form.Unload();
  SendMessageW(form.Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_FALSE(shell.Notify(platform::NotifyAction::Modify, record.Bytes()))
      << "an unloaded form adds nothing";
}

TEST(TrayForm_OnIconMessage, LeftDoubleClickShowsTheMainWindowAndRightButtonDownDoesNothing) {
  SilentDialogs dialogs;
  int shows = 0;
  platform::ProgramWindow program(GetModuleHandleW(nullptr), {});
  TrayForm form(GetModuleHandleW(nullptr), dialogs, program, {[&] { ++shows; }, [] {}});
  SendMessageW(form.Window(), WM_MOUSEMOVE, 0, WM_RBUTTONDOWN);
  SendMessageW(form.Window(), WM_MOUSEMOVE, 0, WM_MOUSEMOVE);
  EXPECT_EQ(shows, 0);
  SendMessageW(form.Window(), WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK);
  EXPECT_EQ(shows, 1);
}

TEST(TrayForm_Close, EndsTheProgramInsteadOfDestroyingTheWindow) {
  SilentDialogs dialogs;
  int ends = 0;
  platform::ProgramWindow program(GetModuleHandleW(nullptr), {});
  TrayForm form(GetModuleHandleW(nullptr), dialogs, program, {[] {}, [&] { ++ends; }});
  SendMessageW(form.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(IsWindow(form.Window()));
}

}  // namespace
}  // namespace lumenor::tray
