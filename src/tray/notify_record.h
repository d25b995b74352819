#pragma once
// The notification record: the bytes of a NOTIFYICONDATAA with a 128-byte tooltip, the balloon
// fields and no GUID, laid out as the Windows header lays it out for the pointer size at hand
// (488 bytes on 32-bit, 504 on 64-bit). Every Shell_NotifyIconA call of the tray form passes this
// one record, so its window and identifier never change between calls.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace lumenor::tray {

inline constexpr std::size_t kTipBytes = 128;
inline constexpr std::size_t kInfoBytes = 256;
inline constexpr std::size_t kInfoTitleBytes = 64;

// Byte offsets of the fields and the size of the record.
struct NotifyRecordLayout {
  std::size_t pointerSize;
  std::size_t cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon, szTip, dwState, dwStateMask,
      szInfo, uTimeout, szInfoTitle, dwInfoFlags;
  std::size_t size;
};

// Natural alignment: 4-byte integers on 4, handles on the pointer size, the whole record on the
// largest member's alignment.
constexpr NotifyRecordLayout MakeNotifyRecordLayout(std::size_t pointerSize) {
  auto align = [](std::size_t at, std::size_t to) { return (at + to - 1) / to * to; };
  NotifyRecordLayout l{};
  l.pointerSize = pointerSize;
  l.cbSize = 0;
  l.hWnd = align(l.cbSize + 4, pointerSize);
  l.uID = l.hWnd + pointerSize;
  l.uFlags = l.uID + 4;
  l.uCallbackMessage = l.uFlags + 4;
  l.hIcon = align(l.uCallbackMessage + 4, pointerSize);
  l.szTip = l.hIcon + pointerSize;
  l.dwState = align(l.szTip + kTipBytes, 4);
  l.dwStateMask = l.dwState + 4;
  l.szInfo = l.dwStateMask + 4;
  l.uTimeout = align(l.szInfo + kInfoBytes, 4);
  l.szInfoTitle = l.uTimeout + 4;
  l.dwInfoFlags = align(l.szInfoTitle + kInfoTitleBytes, 4);
  l.size = align(l.dwInfoFlags + 4, pointerSize);
  return l;
}

inline constexpr NotifyRecordLayout kNotifyLayout32 = MakeNotifyRecordLayout(4);
inline constexpr NotifyRecordLayout kNotifyLayout64 = MakeNotifyRecordLayout(8);
inline constexpr NotifyRecordLayout kNotifyLayout = MakeNotifyRecordLayout(sizeof(void*));

static_assert(kNotifyLayout32.hWnd == 4 && kNotifyLayout32.uID == 8 &&
              kNotifyLayout32.uFlags == 12 && kNotifyLayout32.uCallbackMessage == 16 &&
              kNotifyLayout32.hIcon == 20 && kNotifyLayout32.szTip == 24 &&
              kNotifyLayout32.dwState == 152 && kNotifyLayout32.dwStateMask == 156 &&
              kNotifyLayout32.szInfo == 160 && kNotifyLayout32.uTimeout == 416 &&
              kNotifyLayout32.szInfoTitle == 420 && kNotifyLayout32.dwInfoFlags == 484 &&
              kNotifyLayout32.size == 488);
static_assert(kNotifyLayout64.hWnd == 8 && kNotifyLayout64.uID == 16 &&
              kNotifyLayout64.uFlags == 20 && kNotifyLayout64.uCallbackMessage == 24 &&
              kNotifyLayout64.hIcon == 32 && kNotifyLayout64.szTip == 40 &&
              kNotifyLayout64.dwState == 168 && kNotifyLayout64.dwStateMask == 172 &&
              kNotifyLayout64.szInfo == 176 && kNotifyLayout64.uTimeout == 432 &&
              kNotifyLayout64.szInfoTitle == 436 && kNotifyLayout64.dwInfoFlags == 500 &&
              kNotifyLayout64.size == 504);

inline constexpr std::uint32_t kNifMessage = 0x1;
inline constexpr std::uint32_t kNifIcon = 0x2;
inline constexpr std::uint32_t kNifTip = 0x4;
inline constexpr std::uint32_t kNifInfo = 0x10;
// Set once and never changed: callback message, icon, tooltip and balloon all count.
inline constexpr std::uint32_t kTrayFlags = kNifMessage | kNifIcon | kNifTip | kNifInfo;  // 0x17
// The icon's mouse messages arrive at the tray form as WM_MOUSEMOVE with the message in lParam.
inline constexpr std::uint32_t kTrayCallbackMessage = 0x200;

inline constexpr std::string_view kTrayTooltip = "显示器亮度调节增强";

// Fills a fixed text field: the longest leading part of text (UTF-8, the active code page) that
// ends on a character boundary and leaves room for the NUL, then one NUL, then blanks to the end.
// A text that does not fit is cut before the character that would overflow, so the field always
// holds its NUL and never half a character. An empty field is left as it is.
void FitText(std::span<std::uint8_t> field, std::string_view text);

class NotifyRecord {
 public:
  // All bytes zero except cbSize, which holds the layout's size.
  explicit NotifyRecord(const NotifyRecordLayout& layout = kNotifyLayout);

  void SetWindow(std::uint64_t window);
  void SetId(std::uint32_t id);
  void SetFlags(std::uint32_t flags);
  void SetCallbackMessage(std::uint32_t message);
  void SetIcon(std::uint64_t icon);
  void SetTip(std::string_view text);
  void SetInfo(std::string_view text);
  void SetInfoTitle(std::string_view text);

  const NotifyRecordLayout& Layout() const { return layout_; }
  std::span<const std::uint8_t> Bytes() const { return {bytes_.data(), layout_.size}; }

  // Little-endian readers, for checks of the fields as the platform will read them.
  std::uint32_t ReadU32(std::size_t offset) const;
  std::uint64_t ReadHandle(std::size_t offset) const;  // pointer-sized

 private:
  void WriteU32(std::size_t offset, std::uint32_t value);
  void WriteHandle(std::size_t offset, std::uint64_t value);
  std::span<std::uint8_t> Field(std::size_t offset, std::size_t size) {
    return {bytes_.data() + offset, size};
  }

  NotifyRecordLayout layout_;
  std::array<std::uint8_t, kNotifyLayout64.size> bytes_{};
};

}  // namespace lumenor::tray
