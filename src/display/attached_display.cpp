#include "display/attached_display.h"

#include <utility>

namespace lumenor::display {

namespace {

class Unopened final : public platform::GammaDevice {
 public:
  bool ReadRamp(GammaRamp&) override { return false; }
  bool WriteRamp(const GammaRamp&) override { return false; }
};

}  // namespace

AttachedDisplay::AttachedDisplay(platform::DisplayInfo info,
                                 std::unique_ptr<platform::GammaDevice> opened)
    : info(std::move(info)), device(opened ? std::move(opened) : std::make_unique<Unopened>()) {}

void AttachedDisplay::ReadReference() {
  if (!ramps.ReadSavedFromDisplay()) ramps.SavedRamp() = StraightRamp();
}

bool AttachedDisplay::Written() const {
  return included && info.hdr != platform::HdrMode::On && !yielded;
}

}  // namespace lumenor::display
