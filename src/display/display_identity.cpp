#include "display/display_identity.h"

namespace lumenor::display {

bool SameDisplay(const platform::DisplayInfo& known, const platform::DisplayInfo& now) {
  if (known.identity != now.identity) return false;
  if (!known.nameOnlyIdentity && !now.nameOnlyIdentity) return true;
  return known.deviceName == now.deviceName && known.bounds == now.bounds &&
         known.primary == now.primary;
}

}  // namespace lumenor::display
