#include "display/display_list.h"

#include <algorithm>
#include <utility>

#include "display/display_identity.h"
#include "display/hdr_policy.h"

namespace lumenor::display {

DisplayList::DisplayList(platform::Displays& system) : system_(system) {}

std::size_t DisplayList::Find(const std::string& identity) const {
  for (std::size_t k = 0; k < displays_.size(); ++k) {
    if (displays_[k]->info.identity == identity) return k;
  }
  return displays_.size();
}

const AttachedDisplay* DisplayList::Known(const platform::DisplayInfo& info) const {
  for (const auto& display : displays_) {
    if (display && SameDisplay(display->info, info)) return display.get();
  }
  return nullptr;
}

std::unique_ptr<AttachedDisplay> DisplayList::Arrive(const platform::DisplayInfo& info) {
  auto display = std::make_unique<AttachedDisplay>(info, system_.OpenGamma(info));
  std::optional<DepartedDisplay> record = departed_.TakeBack(info);
  if (!record) {
    display->ReadReference();  // until the main window's next load reads it again
    return display;
  }
  display->included = record->included;
  display->yielded = record->yielded;
  display->keeper.Recall(record->kept);
  // While it shows Lumenor's last ramp, what it shows is no reference: the one it left with
  // holds. Anything else is the system's ramp put back while it was away.
  GammaRamp now{};
  if (display->keeper.ReadRamp(now) && display->keeper.ShowsLastApplied(now)) {
    display->ramps.SavedRamp() = record->reference;
  } else {
    display->ReadReference();
  }
  return display;
}

void DisplayList::Depart(const AttachedDisplay& display) {
  departed_.Keep({display.info, display.ramps.SavedRamp(), display.included, display.yielded,
                  display.keeper.Remembered()});
}

DisplayList::Change DisplayList::Take(std::vector<platform::DisplayInfo> attached,
                                      platform::Displays::Look look) {
  for (platform::DisplayInfo& info : attached) {
    const AttachedDisplay* known = Known(info);
    // The quick look repeats a known display's HDR state from the look before: ours holds.
    const bool asked = look == platform::Displays::Look::Thorough || known == nullptr;
    info.hdr = KnownHdr(known ? known->info.hdr : platform::HdrMode::Off,
                        asked ? info.hdr : platform::HdrMode::Unknown);
  }
  Change change;
  const bool same =
      attached.size() == displays_.size() &&
      std::equal(attached.begin(), attached.end(), displays_.begin(),
                 [](const auto& info, const auto& display) { return info == display->info; });
  if (same) return change;
  change.changed = true;

  std::vector<std::unique_ptr<AttachedDisplay>> next;
  for (const platform::DisplayInfo& info : attached) {
    auto known = std::find_if(displays_.begin(), displays_.end(), [&](const auto& display) {
      return display && SameDisplay(display->info, info);
    });
    if (known != displays_.end() && (*known)->info.deviceName != info.deviceName) {
      // Another device name: a new device context for the same display, which comes back at once.
      Depart(**known);
      known->reset();
      known = displays_.end();
    }
    if (known == displays_.end()) {
      change.arrived.push_back(next.size());
      next.push_back(Arrive(info));
      continue;
    }
    std::unique_ptr<AttachedDisplay> display = std::move(*known);
    // Out of HDR mode it wants the last operation again.
    if (display->info.hdr == platform::HdrMode::On && info.hdr != platform::HdrMode::On) {
      change.arrived.push_back(next.size());
    }
    display->info = info;
    next.push_back(std::move(display));
  }
  for (const auto& gone : displays_) {
    if (gone) Depart(*gone);
  }
  displays_ = std::move(next);  // the ones gone take their device contexts along
  return change;
}

}  // namespace lumenor::display
