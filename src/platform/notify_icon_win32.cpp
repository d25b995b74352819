#include "platform/notify_icon_win32.h"

#include <shellapi.h>

#include <cstring>

namespace lumenor::platform {

bool ShellNotifyIcon::Notify(NotifyAction action, std::span<const std::uint8_t> record) {
  // Copied into the header's structure for its alignment; the shell reads cbSize bytes of it.
  NOTIFYICONDATAA data{};
  std::memcpy(&data, record.data(), record.size() < sizeof data ? record.size() : sizeof data);
  return Shell_NotifyIconA(static_cast<DWORD>(action), &data) != FALSE;
}

}  // namespace lumenor::platform
