#pragma once
// Form1: the main window with its controls, fonts and layout, forwarding every notification to
// app::MainWindow. It owns the desktop device context, both ramps and the two hotkey controls
// while it is loaded.

#include <windows.h>

#include <functional>
#include <memory>

namespace lumenor::overlay {
class OverlayControl;
}
namespace lumenor::platform {
class SingleInstance;
}

namespace lumenor::app {

class MainWindowForm {
 public:
  struct Callbacks {
    std::function<void()> endProgram;  // Command2 and the single-instance test end the program
    std::function<void()> unloaded;    // the close box unloaded the window (called after destroy
                                       // has been requested; the owner deletes the form later)
  };

  // Loads the window: runs the single-instance test, creates the window with its controls and
  // hotkey controls and runs the start-up sequence. Returns nullptr when another copy is running
  // (its message has been shown and endProgram called).
  static std::unique_ptr<MainWindowForm> Load(HINSTANCE instance,
                                              const platform::SingleInstance& singleInstance,
                                              overlay::OverlayControl& overlay, Callbacks callbacks);
  virtual ~MainWindowForm() = default;

  virtual void Show() = 0;  // non-modal, brings it to the front
  virtual HWND Window() const = 0;
};

}  // namespace lumenor::app
