#pragma once
// The tray icon's balloon: what the program tells the user without stopping them.

#include <string_view>

namespace lumenor::platform {

// The title of every balloon the program shows.
inline constexpr std::string_view kNoticeTitle = "显示器亮度调节增强";

// A new balloon replaces the one showing.
class Notices {
 public:
  virtual ~Notices() = default;
  virtual void Show(std::string_view title, std::string_view text) = 0;
};

}  // namespace lumenor::platform
