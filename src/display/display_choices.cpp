#include "display/display_choices.h"

namespace lumenor::display {

std::string DisplayName(std::size_t number) {
  std::string name(kDisplaysMenuText);
  name += ' ';
  name += std::to_string(number);
  return name;
}

std::string DisplayNames(const std::vector<std::size_t>& numbers) {
  std::string names = DisplayName(numbers.front());
  for (std::size_t k = 1; k < numbers.size(); ++k) {
    names += "、";
    names += std::to_string(numbers[k]);
  }
  return names;
}

std::string DisplayChoiceLabel(std::size_t number, const platform::DisplayInfo& info) {
  std::string label = DisplayName(number);
  label += "：";
  label += std::to_string(info.bounds.Width());
  label += "×";
  label += std::to_string(info.bounds.Height());
  if (info.primary) label += "（主）";
  return label;
}

}  // namespace lumenor::display
