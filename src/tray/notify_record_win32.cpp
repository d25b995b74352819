// The record the tray builds by hand must be the header's NOTIFYICONDATAA up to its GUID, and the
// constants it passes must be the header's. Checked here, against the real header, when the
// Windows build compiles; the native build checks the arithmetic of the layout alone.
#include <windows.h>

#include <shellapi.h>

#include <cstddef>

#include "platform/notify_icon.h"
#include "tray/notify_record.h"

namespace lumenor::tray {
namespace {

using platform::NotifyAction;

static_assert(offsetof(NOTIFYICONDATAA, cbSize) == kNotifyLayout.cbSize);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == kNotifyLayout.hWnd);
static_assert(offsetof(NOTIFYICONDATAA, uID) == kNotifyLayout.uID);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == kNotifyLayout.uFlags);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == kNotifyLayout.uCallbackMessage);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == kNotifyLayout.hIcon);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == kNotifyLayout.szTip);
static_assert(sizeof(NOTIFYICONDATAA::szTip) == kTipBytes);
static_assert(offsetof(NOTIFYICONDATAA, dwState) == kNotifyLayout.dwState);
static_assert(offsetof(NOTIFYICONDATAA, dwStateMask) == kNotifyLayout.dwStateMask);
static_assert(offsetof(NOTIFYICONDATAA, szInfo) == kNotifyLayout.szInfo);
static_assert(sizeof(NOTIFYICONDATAA::szInfo) == kInfoBytes);
static_assert(offsetof(NOTIFYICONDATAA, uTimeout) == kNotifyLayout.uTimeout);
static_assert(offsetof(NOTIFYICONDATAA, szInfoTitle) == kNotifyLayout.szInfoTitle);
static_assert(sizeof(NOTIFYICONDATAA::szInfoTitle) == kInfoTitleBytes);
static_assert(offsetof(NOTIFYICONDATAA, dwInfoFlags) == kNotifyLayout.dwInfoFlags);
static_assert(NOTIFYICONDATAA_V2_SIZE == kNotifyLayout.size);
static_assert(NIM_ADD == static_cast<DWORD>(NotifyAction::Add) &&
              NIM_MODIFY == static_cast<DWORD>(NotifyAction::Modify) &&
              NIM_DELETE == static_cast<DWORD>(NotifyAction::Delete));
static_assert((NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO) == kTrayFlags);

}  // namespace
}  // namespace lumenor::tray
