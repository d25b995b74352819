#pragma once
// The dimming overlay as fields: created on first use, hidden, light grey at opacity 200.
#include <cstdint>
#include <vector>

#include "overlay/overlay_control.h"

namespace lumenor::testing {

class FakeOverlay : public overlay::OverlayControl {
 public:
  enum class Colour { Grey, Black, White };

  bool IsShowing() override;
  void Show() override;
  void Hide() override;
  void ApplyDarkness(std::int16_t value) override;

  bool created = false;
  bool showing = false;
  Colour colour = Colour::Grey;
  int opacity = 200;
  std::vector<std::int16_t> applied;  // every value handed to ApplyDarkness, in order

 private:
  void Create() { created = true; }
};

}  // namespace lumenor::testing
