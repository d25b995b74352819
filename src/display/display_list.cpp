#include "display/display_list.h"

#include <algorithm>
#include <utility>

#include "display/display_identity.h"

namespace lumenor::display {

DisplayList::DisplayList(platform::Displays& system) : system_(system) {}

std::unique_ptr<AttachedDisplay> DisplayList::Open(const platform::DisplayInfo& info) {
  auto display = std::make_unique<AttachedDisplay>(info, system_.OpenGamma(info));
  display->ReadReference();  // until the main window's next load reads it again
  return display;
}

std::size_t DisplayList::Find(const std::string& identity) const {
  for (std::size_t k = 0; k < displays_.size(); ++k) {
    if (displays_[k]->info.identity == identity) return k;
  }
  return displays_.size();
}

DisplayList::Change DisplayList::Take(const std::vector<platform::DisplayInfo>& attached) {
  Change change;
  const bool same = attached.size() == displays_.size() &&
                    std::equal(attached.begin(), attached.end(), displays_.begin(),
                               [](const auto& info, const auto& display) {
                                 return info == display->info;
                               });
  if (same) return change;
  change.changed = true;

  std::vector<std::unique_ptr<AttachedDisplay>> next;
  for (const platform::DisplayInfo& info : attached) {
    auto known = std::find_if(displays_.begin(), displays_.end(), [&](const auto& display) {
      return display && SameDisplay(display->info, info);
    });
    if (known == displays_.end()) {
      change.arrived.push_back(next.size());
      next.push_back(Open(info));
      continue;
    }
    std::unique_ptr<AttachedDisplay> display = std::move(*known);
    if (display->info.deviceName != info.deviceName) {
      // Another device name: a new device context, the same reference and choice.
      auto reopened = std::make_unique<AttachedDisplay>(info, system_.OpenGamma(info));
      reopened->ramps.SavedRamp() = display->ramps.SavedRamp();
      reopened->included = display->included;
      display = std::move(reopened);
      change.arrived.push_back(next.size());
    } else {
      // Out of HDR mode it wants the last operation again.
      if (display->info.hdr == platform::HdrMode::On && info.hdr != platform::HdrMode::On) {
        change.arrived.push_back(next.size());
      }
      display->info = info;
    }
    next.push_back(std::move(display));
  }
  displays_ = std::move(next);  // the ones gone take their device contexts along
  return change;
}

}  // namespace lumenor::display
