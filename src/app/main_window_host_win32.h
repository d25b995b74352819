#pragma once
// Form1 across its loads: loaded at the program's start (the first load brings back the last
// state when the user asked for that), loaded again when shown after its close box unloaded it,
// deleted from the message loop after an unload, and its state kept for the next start at the end.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/main_window_win32.h"
#include "settings/settings.h"

namespace lumenor::platform {
class ProgramWindow;
}
namespace lumenor::settings {
class SettingsKeeper;
}

namespace lumenor::app {

class MainWindowHost {
 public:
  struct Parts {
    HINSTANCE instance;
    dimming::DarknessRoad& road;
    display::DisplaySet& displays;
    platform::Notices& notices;
    settings::SettingsKeeper& settings;
    platform::ProgramWindow& program;  // an unloaded form is deleted from the message loop
    std::function<void()> endProgram;  // Command2
  };

  explicit MainWindowHost(Parts parts) : p_(std::move(parts)) {}
  // Form1 goes first, so its hotkey controls unregister their keys and delete their global atoms.
  ~MainWindowHost();
  MainWindowHost(const MainWindowHost&) = delete;
  MainWindowHost& operator=(const MainWindowHost&) = delete;

  // Loads Form1 when it is not loaded, with the keys chosen.
  void Load();
  // Shows Form1 non-modally, loading it first when needed; nothing once the program ends.
  void Show();
  // The keys wanted put in force on Form1 when it is loaded: those the system took; nothing once
  // the program ends.
  std::optional<settings::KeyPair> ChangeHotkeys(const settings::KeyPair& wanted);
  // The program ends: the state kept for the next start (while the settings ask for it), the
  // backlights as the road has them now, since monitors may have answered after Form1 closed.
  void KeepStateAtEnd();
  // "恢复默认" as Form1's button does it; while Form1 is closed (its sliders come back neutral at
  // the next load anyway) the road and the displays' ramps are restored as the button would.
  void RestoreDefaults();
  // Keyboard navigation between Form1's controls (Tab, arrow keys, Enter on buttons).
  bool PreTranslate(MSG& msg);

 private:
  void OnUnloaded();

  Parts p_;
  bool loadedOnce_ = false;
  bool ending_ = false;
  std::optional<settings::WindowState> lastState_;         // Form1's, when it was last closed
  std::unique_ptr<MainWindowForm> form1_;                  // Form1 while loaded
  std::vector<std::unique_ptr<MainWindowForm>> unloaded_;  // closed, not yet deleted
};

}  // namespace lumenor::app
