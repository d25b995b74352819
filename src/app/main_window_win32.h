#pragma once
// Form1: the main window with its controls, fonts and layout, forwarding every notification to
// app::MainWindow. It owns both ramps and the two hotkey controls while it is loaded; the display
// it reads and writes through belongs to the program, which keeps the ramp applied last.

#include <windows.h>

#include <functional>
#include <memory>

namespace lumenor::overlay {
class OverlayControl;
}
namespace lumenor::platform {
class GammaDevice;
class SingleInstance;
}  // namespace lumenor::platform

namespace lumenor::app {

class Notices;

class MainWindowForm {
 public:
  struct Callbacks {
    std::function<void()> endProgram;  // Command2 and the single-instance test end the program
    std::function<void()> unloaded;    // the close box unloaded the window (called after destroy
                                       // has been requested; the owner deletes the form later)
  };

  // Loads the window: runs the single-instance test, creates the window with its controls and
  // hotkey controls, tells `notices` of a combination another program holds, and runs the
  // start-up sequence, which reads `display`. Returns nullptr when another copy is running (its
  // message has been shown and endProgram called).
  static std::unique_ptr<MainWindowForm> Load(HINSTANCE instance,
                                              const platform::SingleInstance& singleInstance,
                                              overlay::OverlayControl& overlay,
                                              platform::GammaDevice& display, Notices& notices,
                                              Callbacks callbacks);
  virtual ~MainWindowForm() = default;

  virtual void Show() = 0;  // non-modal, brings it to the front
  virtual HWND Window() const = 0;
};

}  // namespace lumenor::app
