#pragma once
// What the tray menu's "设置", its "先调背光" and the display choices do: each changes the settings
// the keeper writes, and puts in force at once what the setting governs (the keys on the main
// window, the overlays' place in screenshots, the road's backlight stage, the Run value).
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "settings/settings.h"
#include "tray/tray_form_win32.h"

namespace lumenor::dimming {
class DarknessRoad;
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
    dimming::DarknessRoad& road;
    std::function<HWND()> dialogOwner;
    // The keys wanted, put in force on the main window when it is loaded: those the system took,
    // or nothing when the program is ending.
    std::function<std::optional<settings::KeyPair>(const settings::KeyPair&)> changeHotkeys;
  };

  explicit SettingsCommands(Targets targets) : t_(std::move(targets)) {}
  SettingsCommands(const SettingsCommands&) = delete;
  SettingsCommands& operator=(const SettingsCommands&) = delete;

  tray::SettingsChecks Checks() const;
  void Choose(tray::SettingsItem item);
  void KeepDisplayChoice(const std::string& identity, bool included);
  void ChooseBacklightFirst(bool on);

 private:
  void ChooseHotkeys();

  Targets t_;
  bool choosingHotkeys_ = false;  // one dialog at a time
};

}  // namespace lumenor::app
