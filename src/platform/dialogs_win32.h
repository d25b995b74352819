#pragma once
// Message boxes through MessageBoxW, the UTF-8 texts converted to UTF-16.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/text_win32.h"

namespace lumenor::platform {

class MessageBoxDialogs final : public Dialogs {
 public:
  // owner: the window the boxes are modal to (nullptr: none).
  explicit MessageBoxDialogs(HWND owner = nullptr) : owner_(owner) {}

  void SetOwner(HWND owner) { owner_ = owner; }
  void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override;

 private:
  HWND owner_;
};

}  // namespace lumenor::platform
