#pragma once
// What the tray menu's "设置", its "先调背光" and the display choices do: each changes the settings
// the keeper writes, and puts in force at once what the setting governs (the keys on the main
// window, the overlays' place in screenshots, the displays left out, the Run value). The same code
// puts the settings read at start in force; the road reads its backlight stage from them.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "display/display_choices.h"

#include "settings/settings.h"
#include "tray/tray_form_win32.h"

namespace lumenor::dimming {
class BacklightKeepers;
}
namespace lumenor::display {
class DisplaySet;
}
namespace lumenor::overlay {
class OverlaySet;
}
namespace lumenor::platform {
class Notices;
}
namespace lumenor::settings {
class SettingsKeeper;
}

namespace lumenor::app {

class SettingsCommands {
 public:
  struct Targets {
    HINSTANCE instance;
    settings::SettingsKeeper& settings;
    platform::Notices& notices;
    overlay::OverlaySet& overlays;
    display::DisplaySet& displays;
    const dimming::BacklightKeepers* keepers;  // null: no backlight is driven
    std::function<HWND()> dialogOwner;
    // The keys wanted, put in force on the main window when it is loaded: those the system took,
    // or nothing when the program is ending.
    std::function<std::optional<settings::KeyPair>(const settings::KeyPair&)> changeHotkeys;
  };

  explicit SettingsCommands(Targets targets) : t_(std::move(targets)) {}
  SettingsCommands(const SettingsCommands&) = delete;
  SettingsCommands& operator=(const SettingsCommands&) = delete;

  // At start: the settings read put in force, as a change puts each in force.
  void PutInForce();

  tray::SettingsChecks Checks() const;
  void Choose(tray::SettingsItem item);
  void ChooseDisplay(const std::string& identity, bool included);
  bool BacklightFirst() const;
  void ChooseBacklightFirst(bool on);
  // The tray menu's displays, each driven backlight with its level; whether any is driven.
  std::vector<display::DisplayChoice> DisplayChoices() const;
  bool AnyBacklight() const;

 private:
  void ChooseHotkeys();
  void PutScreenshotsInForce();

  Targets t_;
  bool choosingHotkeys_ = false;  // one dialog at a time
};

}  // namespace lumenor::app
