// Entry point: the tray form first (hidden, its timer and icon), then the overlay, then the main
// window Form1, and the one message loop of the program's one thread.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "app/main_window_win32.h"
#include "app/notices.h"
#include "app/ramp_keeper.h"
#include "overlay/overlay_window_win32.h"
#include "platform/dialogs_win32.h"
#include "platform/dll_search_win32.h"
#include "platform/gamma_device_win32.h"
#include "platform/single_instance_win32.h"
#include "platform/system_check_win32.h"
#include "tray/tray_form_win32.h"

namespace {

using namespace lumenor;

// A second copy is told and ends; the name is held for the whole life of the process.
constexpr wchar_t kInstanceMutexName[] = L"Local\\Lumenor.MainWindow.SingleInstance";
// How long a balloon stays before the tray form takes it down.
constexpr std::int16_t kBalloonMilliseconds = 10000;

// The program's notices go to the tray icon's balloon.
class TrayNotices final : public app::Notices {
 public:
  explicit TrayNotices(tray::TrayForm& tray) : tray_(tray) {}
  void Show(std::string_view title, std::string_view text) override {
    tray_.TrayBalloon(text, title, kBalloonMilliseconds);
  }

 private:
  tray::TrayForm& tray_;
};

class Application {
 public:
  explicit Application(HINSTANCE instance) : instance_(instance) {
    tray_ = std::make_unique<tray::TrayForm>(
        instance_, dialogs_,
        tray::TrayForm::Callbacks{[this] { ShowMainWindow(); }, [this] { EndProgram(); },
                                  [this](UINT message) { OnDisplayMayHaveBeenReset(message); },
                                  [this] {
                                    if (keeper_) keeper_->OnRewriteTimer();
                                  }});
    notices_ = std::make_unique<TrayNotices>(*tray_);
    // The ramp applied last belongs to the program: it outlives every load of Form1.
    keeper_ = std::make_unique<app::RampKeeper>(display_, tray_->RewriteTimer(), *notices_);
    // The overlay's window is created on its first use.
    overlay_ = std::make_unique<overlay::OverlayWindow>(instance_);
    // The last step of the tray form's load: show Form1.
    ShowMainWindow();
  }

  ~Application() {
    // Form1 goes first so its hotkey controls unregister their keys and delete their global
    // atoms, which would otherwise outlive the process; the tray form goes last.
    ending_ = true;
    form1_.reset();
    unloadedForms_.clear();
    overlay_.reset();
    keeper_.reset();  // before the tray form, whose timer it starts
    notices_.reset();
    tray_.reset();
  }

  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Keyboard navigation between Form1's controls (Tab, arrow keys, Enter on buttons).
  bool PreTranslate(MSG& msg) {
    if (!form1_) return false;
    HWND window = form1_->Window();
    return window != nullptr && IsDialogMessageW(window, &msg) != FALSE;
  }

 private:
  // Shows Form1 non-modally, loading it (and running its start-up) when it is not loaded.
  void ShowMainWindow() {
    if (ending_) return;
    if (!form1_) {
      form1_ = app::MainWindowForm::Load(
          instance_, singleInstance_, *overlay_, *keeper_, *notices_,
          app::MainWindowForm::Callbacks{[this] { EndProgram(); },
                                         [this] { OnMainWindowUnloaded(); }});
      if (!form1_) return;  // another copy runs: the program is ending
    }
    form1_->Show();
  }

  // The display may have been reset: the ramp set last goes back, the overlay covers the screen.
  // The overlay's own window hears WM_DISPLAYCHANGE and follows it by itself.
  void OnDisplayMayHaveBeenReset(UINT message) {
    if (keeper_) keeper_->OnDisplayMayHaveBeenReset();
    if (overlay_ && message != WM_DISPLAYCHANGE) overlay_->FollowPrimaryScreen();
  }

  // Form1's close box unloaded it. This runs inside its window procedure, so the form is deleted
  // from the message loop afterwards; a show before then loads a new one.
  void OnMainWindowUnloaded() {
    if (ending_ || !form1_) return;
    unloadedForms_.push_back(std::move(form1_));
    tray_->Defer([this] { unloadedForms_.clear(); });
  }

  // Command2, "退出" and the single-instance test: remove the icon, then end at once. The windows
  // are destroyed when the message loop has ended; no ramp is restored, nothing is written.
  void EndProgram() {
    if (ending_) return;
    ending_ = true;
    tray_->Unload();
    PostQuitMessage(0);
  }

  HINSTANCE instance_;
  platform::SingleInstance singleInstance_{kInstanceMutexName};
  platform::MessageBoxDialogs dialogs_;
  bool ending_ = false;
  platform::DesktopGammaDevice display_;     // the desktop's device context, for the whole run
  std::unique_ptr<tray::TrayForm> tray_;     // mytray1
  std::unique_ptr<app::Notices> notices_;    // the tray icon's balloon
  std::unique_ptr<app::RampKeeper> keeper_;  // Form1 writes through it
  std::unique_ptr<overlay::OverlayWindow> overlay_;                  // mask_form_black
  std::unique_ptr<app::MainWindowForm> form1_;                       // Form1 while loaded
  std::vector<std::unique_ptr<app::MainWindowForm>> unloadedForms_;  // closed, not yet deleted
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything else is loaded.
  lumenor::platform::LoadDllsFromSystemDirectoryOnly();
  if (!lumenor::platform::ConfirmSupportedWindows()) return 1;
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  int exitCode = 0;
  {
    Application application(instance);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (application.PreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (msg.message == WM_QUIT) exitCode = static_cast<int>(msg.wParam);
  }
  return exitCode;
}
