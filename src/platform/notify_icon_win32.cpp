#include "platform/notify_icon_win32.h"

#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "tray/notify_record.h"

namespace lumenor::platform {

namespace {

// The record the core builds is the header's NOTIFYICONDATAA up to its GUID.
using tray::kNotifyLayout;
static_assert(offsetof(NOTIFYICONDATAA, cbSize) == kNotifyLayout.cbSize);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == kNotifyLayout.hWnd);
static_assert(offsetof(NOTIFYICONDATAA, uID) == kNotifyLayout.uID);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == kNotifyLayout.uFlags);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == kNotifyLayout.uCallbackMessage);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == kNotifyLayout.hIcon);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == kNotifyLayout.szTip);
static_assert(sizeof(NOTIFYICONDATAA::szTip) == tray::kTipBytes);
static_assert(offsetof(NOTIFYICONDATAA, dwState) == kNotifyLayout.dwState);
static_assert(offsetof(NOTIFYICONDATAA, dwStateMask) == kNotifyLayout.dwStateMask);
static_assert(offsetof(NOTIFYICONDATAA, szInfo) == kNotifyLayout.szInfo);
static_assert(sizeof(NOTIFYICONDATAA::szInfo) == tray::kInfoBytes);
static_assert(offsetof(NOTIFYICONDATAA, uTimeout) == kNotifyLayout.uTimeout);
static_assert(offsetof(NOTIFYICONDATAA, szInfoTitle) == kNotifyLayout.szInfoTitle);
static_assert(sizeof(NOTIFYICONDATAA::szInfoTitle) == tray::kInfoTitleBytes);
static_assert(offsetof(NOTIFYICONDATAA, dwInfoFlags) == kNotifyLayout.dwInfoFlags);
static_assert(NOTIFYICONDATAA_V2_SIZE == kNotifyLayout.size);
static_assert(NIM_ADD == static_cast<DWORD>(NotifyAction::Add) &&
              NIM_MODIFY == static_cast<DWORD>(NotifyAction::Modify) &&
              NIM_DELETE == static_cast<DWORD>(NotifyAction::Delete));
static_assert((NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO) == tray::kTrayFlags);

}  // namespace

bool ShellNotifyIcon::Notify(NotifyAction action, std::span<const std::uint8_t> record) {
  // Copied into the header's structure for its alignment; the shell reads cbSize bytes of it.
  NOTIFYICONDATAA data{};
  std::memcpy(&data, record.data(), record.size() < sizeof data ? record.size() : sizeof data);
  return Shell_NotifyIconA(static_cast<DWORD>(action), &data) != FALSE;
}

}  // namespace lumenor::platform
