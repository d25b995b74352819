#pragma once
// Message boxes: the only way the program speaks to the user. Texts are UTF-8.

#include <string_view>

namespace lumenor::platform {

enum class MessageIcon { None, Exclamation };

// The caption of a message box that names none: the program's title.
inline constexpr std::string_view kProgramTitle = "Lumenor";

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a modal box with an OK button only and returns when it is closed.
  virtual void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
};

}  // namespace lumenor::platform
