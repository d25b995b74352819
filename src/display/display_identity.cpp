#include "display/display_identity.h"

namespace lumenor::display {

bool SameDisplay(const platform::DisplayInfo& known, const platform::DisplayInfo& now) {
  return known.identity == now.identity;
}

}  // namespace lumenor::display
