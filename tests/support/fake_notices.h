#pragma once
// The tray balloon, recorded: every balloon shown, title and text, in order.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/notices.h"

namespace lumenor::testing {

class FakeNotices : public platform::Notices {
 public:
  void Show(std::string_view title, std::string_view text) override {
    shown.emplace_back(std::string(title), std::string(text));
  }
  std::vector<std::pair<std::string, std::string>> shown;
};

}  // namespace lumenor::testing
