#include "display/departed_displays.h"

#include <algorithm>
#include <utility>

#include "display/display_identity.h"

namespace lumenor::display {

void DepartedDisplays::Keep(DepartedDisplay departed) {
  const auto with = [&](const std::string& identity) {
    return std::find_if(records_.begin(), records_.end(), [&](const DepartedDisplay& record) {
      return record.info.identity == identity;
    });
  };
  auto found = with(departed.info.identity);
  if (found == records_.end()) found = with({});  // a place left by one taken back
  if (found != records_.end()) {
    *found = std::move(departed);
  } else if (records_.size() < kMostKept) {
    records_.push_back(std::move(departed));
  } else {
    records_[oldest_] = std::move(departed);  // the oldest goes
    oldest_ = (oldest_ + 1) % kMostKept;
  }
}

std::optional<DepartedDisplay> DepartedDisplays::TakeBack(const platform::DisplayInfo& info) {
  for (DepartedDisplay& record : records_) {
    if (!record.info.identity.empty() && SameDisplay(record.info, info)) {
      std::optional<DepartedDisplay> taken = std::move(record);
      record.info.identity.clear();  // an empty place, filled by the next that goes
      return taken;
    }
  }
  return std::nullopt;
}

}  // namespace lumenor::display
