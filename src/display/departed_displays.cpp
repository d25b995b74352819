#include "display/departed_displays.h"

#include <algorithm>
#include <utility>

#include "display/display_identity.h"

namespace lumenor::display {

void DepartedDisplays::Keep(DepartedDisplay departed) {
  std::erase_if(records_, [&](const DepartedDisplay& record) {
    return record.info.identity == departed.info.identity;
  });
  if (records_.size() == kMostKept) records_.erase(records_.begin());  // the oldest goes
  records_.push_back(std::move(departed));
}

std::optional<DepartedDisplay> DepartedDisplays::TakeBack(const platform::DisplayInfo& info) {
  const auto found = std::find_if(records_.begin(), records_.end(), [&](const auto& record) {
    return SameDisplay(record.info, info);
  });
  if (found == records_.end()) return std::nullopt;
  DepartedDisplay record = std::move(*found);
  records_.erase(found);
  return record;
}

}  // namespace lumenor::display
