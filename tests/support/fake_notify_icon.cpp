#include "support/fake_notify_icon.h"

#include "tray/notify_record.h"

namespace lumenor::testing {

namespace {

std::uint64_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset,
                               std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{bytes[offset + i]} << (8 * i);
  return value;
}

}  // namespace

bool FakeNotifyIcon::Notify(platform::NotifyAction action, std::span<const std::uint8_t> record) {
  calls.push_back({action, {record.begin(), record.end()}, false});
  // The shell tells the record's form by its cbSize; sizes it does not know are refused.
  if (!ready || record.size() < 4) return false;
  const auto size = ReadLittleEndian(record, 0, 4);
  const tray::NotifyRecordLayout* layout = nullptr;
  if (size == tray::kNotifyLayout32.size) layout = &tray::kNotifyLayout32;
  if (size == tray::kNotifyLayout64.size) layout = &tray::kNotifyLayout64;
  if (layout == nullptr || record.size() < layout->size) return false;

  const std::pair key{ReadLittleEndian(record, layout->hWnd, layout->pointerSize),
                      static_cast<std::uint32_t>(ReadLittleEndian(record, layout->uID, 4))};
  bool accepted = false;
  switch (action) {
    case platform::NotifyAction::Add:
      accepted = icons.insert(key).second;
      break;
    case platform::NotifyAction::Modify:
      accepted = icons.contains(key);
      break;
    case platform::NotifyAction::Delete:
      accepted = icons.erase(key) == 1;
      break;
  }
  calls.back().accepted = accepted;
  return accepted;
}

}  // namespace lumenor::testing
