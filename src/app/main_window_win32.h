#pragma once
// Form1: the main window with its controls, fonts and layout, forwarding every notification to
// app::MainWindow. It owns the two hotkey controls while it is loaded; the displays it reads and
// writes belong to the program, which keeps the ramps applied last.

#include <windows.h>

#include <functional>
#include <memory>

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
  static std::unique_ptr<MainWindowForm> Load(HINSTANCE instance,
                                              dimming::DarknessRoad& road,
                                              display::DisplaySet& displays, Notices& notices,
                                              Callbacks callbacks);
  // Unloads: the hotkey controls release their keys, then the window is destroyed.
  ~MainWindowForm();
  MainWindowForm(const MainWindowForm&) = delete;
  MainWindowForm& operator=(const MainWindowForm&) = delete;

  void Show();  // non-modal, brings it to the front
  HWND Window() const;

 private:
  struct Impl;
  explicit MainWindowForm(std::unique_ptr<Impl> impl);

  std::unique_ptr<Impl> impl_;
};

}  // namespace lumenor::app
