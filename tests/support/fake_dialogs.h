#pragma once
// Message boxes recorded instead of shown.
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace lumenor::testing {

class FakeDialogs : public platform::Dialogs {
 public:
  struct Message {
    std::string text;
    std::string caption;
    platform::MessageIcon icon;
  };

  void ShowMessage(std::string_view text, std::string_view caption,
                   platform::MessageIcon icon) override {
    shown.push_back(Message{std::string(text), std::string(caption), icon});
  }

  std::vector<Message> shown;
};

}  // namespace lumenor::testing
