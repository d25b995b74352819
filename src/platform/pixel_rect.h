#pragma once
// A rectangle of the virtual desktop in physical pixels: left and top inclusive, right and bottom
// exclusive. Displays left of or above the primary have negative coordinates.

namespace lumenor::platform {

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace lumenor::platform
