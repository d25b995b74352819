#include "tray/wheel_notches.h"

namespace lumenor::tray {

int WheelNotches::Add(int delta) {
  if ((delta > 0 && gathered_ < 0) || (delta < 0 && gathered_ > 0)) gathered_ = 0;
  gathered_ += delta;
  const int notches = gathered_ / kWheelNotch;  // towards zero: the rest stays gathered
  gathered_ -= notches * kWheelNotch;
  return notches;
}

}  // namespace lumenor::tray
