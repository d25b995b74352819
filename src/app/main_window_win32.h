#pragma once
// Form1: the main window with its controls, fonts and layout, forwarding every notification to
// app::MainWindow. It owns the two hotkey controls while it is loaded; the displays it reads and
// writes belong to the program, which keeps the ramps applied last.

#include <windows.h>

#include <functional>
#include <memory>

#include "settings/settings.h"

namespace lumenor::display {
class DisplaySet;
}
namespace lumenor::dimming {
class DarknessRoad;
}

namespace lumenor::platform {
class Notices;
}

namespace lumenor::app {

using platform::Notices;

class MainWindowForm {
 public:
  struct Callbacks {
    std::function<void()> endProgram;  // Command2 ends the program
    std::function<void()> unloaded;    // the close box unloaded the window (called after destroy
                                       // has been requested; the owner deletes the form later)
  };

  // Loads the window: creates it with its controls and hotkey controls, tells `notices` of a
  // combination another program holds, and runs the start-up sequence, which reads every
  // display's reference.
  // The hotkey controls take `keys` once loaded, and the banner names them.
  static std::unique_ptr<MainWindowForm> Load(HINSTANCE instance,
                                              dimming::DarknessRoad& road,
                                              display::DisplaySet& displays, Notices& notices,
                                              Callbacks callbacks, const settings::KeyPair& keys = {});
  // Unloads: the hotkey controls release their keys, then the window is destroyed.
  ~MainWindowForm();
  MainWindowForm(const MainWindowForm&) = delete;
  MainWindowForm& operator=(const MainWindowForm&) = delete;

  void Show();  // non-modal, brings it to the front
  HWND Window() const;

  // Gives the hotkey controls other keys; a key the system refuses is said in the balloon and the
  // control keeps the key it had. Answers the keys in force.
  settings::KeyPair ChangeHotkeys(const settings::KeyPair& wanted);
  // The sliders, 加强 and the darkness, for a restore at the next start; and that restore.
  settings::WindowState State() const;
  void RestoreState(const settings::WindowState& last);
  // "恢复默认", as its button does.
  void RestoreDefaults();

 private:
  struct Impl;
  explicit MainWindowForm(std::unique_ptr<Impl> impl);

  std::unique_ptr<Impl> impl_;
};

}  // namespace lumenor::app
