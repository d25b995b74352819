#pragma once
// The notification area through Shell_NotifyIconA.
#include <windows.h>

#include "platform/notify_icon.h"

namespace lumenor::platform {

class ShellNotifyIcon final : public NotifyIcon {
 public:
  bool Notify(NotifyAction action, std::span<const std::uint8_t> record) override;
};

}  // namespace lumenor::platform
