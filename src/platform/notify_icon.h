#pragma once
// The notification area: one call that adds, modifies or deletes an icon described by a
// notification record (the bytes of a NOTIFYICONDATAA, built by tray::NotifyRecord).

#include <cstdint>
#include <span>

namespace lumenor::platform {

enum class NotifyAction : std::uint32_t {
  Add = 0,
  Modify = 1,
  Delete = 2
};  // NIM_ADD, NIM_MODIFY, NIM_DELETE

class NotifyIcon {
 public:
  virtual ~NotifyIcon() = default;
  // The icon is named by the record's window and identifier. Add fails when that icon is already
  // there, Modify and Delete fail when it is not. Returns whether the notification area took it.
  virtual bool Notify(NotifyAction action, std::span<const std::uint8_t> record) = 0;
};

}  // namespace lumenor::platform
