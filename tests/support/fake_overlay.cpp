#include "support/fake_overlay.h"

#include <cstdlib>

namespace lumenor::testing {

void FakeOverlay::Show() {
  Create();
  showing = true;
}

void FakeOverlay::Hide() {
  Create();
  showing = false;
}

void FakeOverlay::ApplyDarkness(std::int16_t value) {
  Create();
  applied.push_back(value);
  if (value < 0) colour = Colour::Black;
  if (value > 0) colour = Colour::White;
  opacity = std::abs(value);
}

}  // namespace lumenor::testing
