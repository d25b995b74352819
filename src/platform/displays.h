#pragma once
// The displays attached to the desktop, and each one's own gamma ramp. The program never uses the
// desktop window's device context for the ramp: with an extended desktop Windows refuses ramps
// there while each display's own context takes them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gamma_device.h"
#include "platform/pixel_rect.h"

namespace lumenor::platform {

// What the system says of a display's advanced colour (HDR), where a gamma ramp would tint the
// picture. Unknown: the system could not be asked this time; what was known before still holds.
enum class HdrMode : std::uint8_t { Off, On, Unknown };

struct DisplayInfo {
  // The monitor's device identity: a display keeps it while others are plugged in or out, and it
  // is unique among the displays attached.
  std::string identity;
  std::string deviceName;  // the display's device name ("\\.\DISPLAY2"), UTF-8
  PixelRect bounds;        // physical pixels
  bool primary = false;
  HdrMode hdr = HdrMode::Off;
  // No device ID could be had (virtual and indirect displays): the identity is the device name,
  // which another display may take after a reorder, so it holds for this order only.
  bool nameOnlyIdentity = false;

  friend bool operator==(const DisplayInfo&, const DisplayInfo&) = default;
};

class Displays {
 public:
  // How hard to look. The quick look (for the 5 s tick) asks again only where the displays are
  // and takes each one's identity and HDR state from the last look while its device name, bounds
  // and primary flag are unchanged; the thorough look (after the system's notices) asks for all.
  enum class Look { Thorough, Quick };

  virtual ~Displays() = default;
  // The displays attached now, in the system's order.
  virtual std::vector<DisplayInfo> Attached(Look look) = 0;
  // Asks the system again for each display's HDR state (found by device name), as the thorough
  // look does; Unknown where it cannot say. One answer per display given, in the same order.
  virtual std::vector<HdrMode> HdrModes(const std::vector<DisplayInfo>& displays) = 0;
  // The display's ramp through a device context of its own, held until the device is destroyed;
  // null when the display cannot be opened.
  virtual std::unique_ptr<GammaDevice> OpenGamma(const DisplayInfo& display) = 0;
};

}  // namespace lumenor::platform
