#include "platform/dialogs_win32.h"

namespace lumenor::platform {

std::wstring Utf16(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

void MessageBoxDialogs::ShowMessage(std::string_view text, std::string_view caption,
                                    MessageIcon icon) {
  UINT style = MB_OK;
  if (icon == MessageIcon::Exclamation) style |= MB_ICONEXCLAMATION;
  // Without an owner the box must still come to the front, as the program may have no window up.
  if (owner_ == nullptr) style |= MB_SETFOREGROUND | MB_TASKMODAL;
  const std::wstring wideText = Utf16(text);
  const std::wstring wideCaption = Utf16(caption);
  MessageBoxW(owner_, wideText.c_str(), wideCaption.c_str(), style);
}

}  // namespace lumenor::platform
