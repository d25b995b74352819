#pragma once
// A mouse wheel's deltas as whole notches. A notch is 120 (WHEEL_DELTA); a high-resolution wheel
// sends smaller deltas that add up to one. Turning back drops what was gathered the other way, so
// a reversal never needs more than a notch to take effect.

namespace lumenor::tray {

inline constexpr int kWheelNotch = 120;

class WheelNotches {
 public:
  // The whole notches this delta completes: positive away from the user, negative towards.
  int Add(int delta);
  void Forget() { gathered_ = 0; }

 private:
  int gathered_ = 0;  // less than a notch, in the direction of the last turn
};

}  // namespace lumenor::tray
