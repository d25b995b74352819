#include "tray/notify_record.h"

#include <algorithm>

namespace lumenor::tray {

namespace {

bool IsContinuationByte(std::uint8_t byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

void FitText(std::span<std::uint8_t> field, std::string_view text) {
  if (field.empty()) return;
  std::size_t length = std::min(text.size(), field.size() - 1);
  // Cut before a character whose bytes would not all fit.
  if (length < text.size()) {
    while (length > 0 && IsContinuationByte(static_cast<std::uint8_t>(text[length]))) --length;
  }
  std::transform(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), field.begin(),
                 [](char c) { return static_cast<std::uint8_t>(c); });
  field[length] = 0;
  std::fill(field.begin() + static_cast<std::ptrdiff_t>(length) + 1, field.end(),
            static_cast<std::uint8_t>(' '));
}

NotifyRecord::NotifyRecord(const NotifyRecordLayout& layout) : layout_(layout) {
  WriteU32(layout_.cbSize, static_cast<std::uint32_t>(layout_.size));
}

void NotifyRecord::SetWindow(std::uint64_t window) {
  WriteHandle(layout_.hWnd, window);
}
void NotifyRecord::SetId(std::uint32_t id) {
  WriteU32(layout_.uID, id);
}
void NotifyRecord::SetFlags(std::uint32_t flags) {
  WriteU32(layout_.uFlags, flags);
}
void NotifyRecord::SetCallbackMessage(std::uint32_t message) {
  WriteU32(layout_.uCallbackMessage, message);
}
void NotifyRecord::SetIcon(std::uint64_t icon) {
  WriteHandle(layout_.hIcon, icon);
}
void NotifyRecord::SetTip(std::string_view text) {
  FitText(Field(layout_.szTip, kTipBytes), text);
}
void NotifyRecord::SetInfo(std::string_view text) {
  FitText(Field(layout_.szInfo, kInfoBytes), text);
}
void NotifyRecord::SetInfoTitle(std::string_view text) {
  FitText(Field(layout_.szInfoTitle, kInfoTitleBytes), text);
}

std::uint32_t NotifyRecord::ReadU32(std::size_t offset) const {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{bytes_[offset + i]} << (8 * i);
  return value;
}

std::uint64_t NotifyRecord::ReadHandle(std::size_t offset) const {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < layout_.pointerSize; ++i) {
    value |= std::uint64_t{bytes_[offset + i]} << (8 * i);
  }
  return value;
}

void NotifyRecord::WriteU32(std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void NotifyRecord::WriteHandle(std::size_t offset, std::uint64_t value) {
  // A 32-bit record keeps the low half: 32-bit handles have no more.
  for (std::size_t i = 0; i < layout_.pointerSize; ++i) {
    bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace lumenor::tray
