#pragma once
// Displays as the fake system attaches them: each with its own fake gamma ramp, kept by device
// name across opens, so a test sees every ramp a display was given.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/displays.h"
#include "support/fake_gamma_device.h"

namespace lumenor::testing {

class FakeDisplays : public platform::Displays {
 public:
  std::vector<platform::DisplayInfo> Attached(Look) override { return attached; }
  // Each display's hdr as attached now; Unknown for one no longer attached or while hdrFails.
  std::vector<platform::HdrMode> HdrModes(
      const std::vector<platform::DisplayInfo>& displays) override;
  std::unique_ptr<platform::GammaDevice> OpenGamma(const platform::DisplayInfo& display) override;

  // Attaches a display "\\.\DISPLAY<n>" (n its place from 1) with identity "monitor-<n>".
  platform::DisplayInfo& Attach(platform::PixelRect bounds, bool primary = false);
  FakeGammaDevice& Gamma(const platform::DisplayInfo& display) { return gamma[display.deviceName]; }
  FakeGammaDevice& Gamma(std::size_t index) { return Gamma(attached.at(index)); }

  std::vector<platform::DisplayInfo> attached;
  std::map<std::string, FakeGammaDevice> gamma;  // by device name
  std::vector<std::string> opened;               // device names, in the order they were opened
  bool opens = true;                             // false: no device context can be made
  bool hdrFails = false;                         // true: HdrModes cannot ask the system
  int hdrAsked = 0;                              // HdrModes calls
};

}  // namespace lumenor::testing
