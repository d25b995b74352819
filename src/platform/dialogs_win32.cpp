#include "platform/dialogs_win32.h"

namespace lumenor::platform {

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
