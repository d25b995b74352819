#include "support/fake_displays.h"

namespace lumenor::testing {

namespace {

// Hands the calls on to the display's fake, which outlives every device opened for it.
class OpenedGamma final : public platform::GammaDevice {
 public:
  explicit OpenedGamma(FakeGammaDevice& display) : display_(display) {}
  bool ReadRamp(platform::GammaRamp& ramp) override { return display_.ReadRamp(ramp); }
  bool WriteRamp(const platform::GammaRamp& ramp) override { return display_.WriteRamp(ramp); }

 private:
  FakeGammaDevice& display_;
};

}  // namespace

std::unique_ptr<platform::GammaDevice> FakeDisplays::OpenGamma(
    const platform::DisplayInfo& display) {
  if (!opens) return nullptr;
  opened.push_back(display.deviceName);
  return std::make_unique<OpenedGamma>(gamma[display.deviceName]);
}

std::vector<platform::HdrMode> FakeDisplays::HdrModes(
    const std::vector<platform::DisplayInfo>& displays) {
  ++hdrAsked;
  std::vector<platform::HdrMode> modes;
  for (const platform::DisplayInfo& display : displays) {
    platform::HdrMode mode = platform::HdrMode::Unknown;
    for (const platform::DisplayInfo& now : attached) {
      if (!hdrFails && now.deviceName == display.deviceName) mode = now.hdr;
    }
    modes.push_back(mode);
  }
  return modes;
}

platform::DisplayInfo& FakeDisplays::Attach(platform::PixelRect bounds, bool primary) {
  const std::string n = std::to_string(attached.size() + 1);
  attached.push_back({"monitor-" + n, "\\\\.\\DISPLAY" + n, bounds, primary});
  return attached.back();
}

}  // namespace lumenor::testing
