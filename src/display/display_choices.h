#pragma once
// How the displays are named to the user: the tray menu's display list and the balloons' texts.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/displays.h"

namespace lumenor::display {

inline constexpr std::string_view kDisplaysMenuText = "显示器";

// One item of the tray menu's display list.
struct DisplayChoice {
  std::string label;  // "显示器 1：1280×800（主）"
  bool included = true;
  std::string identity;  // the display it stands for, whatever its number is by the time
};

// "显示器 2": the display's number, from 1, in the system's order.
std::string DisplayName(std::size_t number);
// "显示器 2" or "显示器 2、3".
std::string DisplayNames(const std::vector<std::size_t>& numbers);
// "显示器 <number>：<width>×<height>", with "（主）" on the primary.
std::string DisplayChoiceLabel(std::size_t number, const platform::DisplayInfo& info);

}  // namespace lumenor::display
