// Entry point, in the order the program starts: the DLL search and the Windows check, the
// single-instance test, then the program window (display changes, timers, posted work), the tray
// form (hidden, its timer and icon), the displays with their overlays, then the main window Form1;
// then the one message loop of the program's one thread.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "app/main_window_win32.h"
#include "app/notices.h"
#include "display/display_set.h"
#include "overlay/overlay_set.h"
#include "overlay/overlay_window_win32.h"
#include "platform/dialogs_win32.h"
#include "platform/displays_win32.h"
#include "platform/dll_search_win32.h"
#include "platform/program_window_win32.h"
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
  explicit Application(HINSTANCE instance) : instance_(instance), overlayWindows_(instance) {
    program_ = std::make_unique<platform::ProgramWindow>(
        instance_, [this](platform::DisplaySignal signal) {
          if (displays_) displays_->OnSignal(signal);
        });
    keepOnTopTimer_ = program_->MakeTimer([this] {
      if (displays_) displays_->OnKeepOnTopTick();
    });
    rewriteTimer_ = program_->MakeTimer([this] {
      if (displays_) displays_->OnRewriteTimer();
    });
    tray_ = std::make_unique<tray::TrayForm>(
        instance_, dialogs_, *program_,
        tray::TrayForm::Callbacks{
            [this] { ShowMainWindow(); }, [this] { EndProgram(); },
            [this] { return displays_ ? displays_->Choices() : std::vector<display::DisplayChoice>{}; },
            [this](const display::DisplayChoice& choice, bool included) {
              if (displays_) displays_->SetIncluded(choice.identity, included);
            }});
    notices_ = std::make_unique<TrayNotices>(*tray_);
    // The overlays are there for every display; their windows are made on their first use.
    overlays_ = std::make_unique<overlay::OverlaySet>(overlayWindows_);
    // The ramps applied last belong to the program: they outlive every load of Form1.
    displays_ = std::make_unique<display::DisplaySet>(systemDisplays_, *rewriteTimer_, *notices_,
                                                      *overlays_);
    keepOnTopTimer_->Start(overlay::kKeepOnTopIntervalMs);  // Timer1_settop
    // The last step of the tray form's load: show Form1.
    ShowMainWindow();
  }

  ~Application() {
    // Form1 goes first so its hotkey controls unregister their keys and delete their global
    // atoms, which would otherwise outlive the process; the tray form goes last.
    ending_ = true;
    form1_.reset();
    unloadedForms_.clear();
    displays_.reset();  // before its timers
    overlays_.reset();
    notices_.reset();
    tray_.reset();
    rewriteTimer_.reset();
    keepOnTopTimer_.reset();
    program_.reset();  // last: the others' timers are on it
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
          instance_, *overlays_, *displays_, *notices_,
          app::MainWindowForm::Callbacks{[this] { EndProgram(); },
                                         [this] { OnMainWindowUnloaded(); }});
    }
    form1_->Show();
  }

  // Form1's close box unloaded it. This runs inside its window procedure, so the form is deleted
  // from the message loop afterwards; a show before then loads a new one.
  void OnMainWindowUnloaded() {
    if (ending_ || !form1_) return;
    unloadedForms_.push_back(std::move(form1_));
    program_->Post([this] { unloadedForms_.clear(); });
  }

  // Command2 and "退出": remove the icon, then end at once. The windows are destroyed when the
  // message loop has ended; no ramp is restored, nothing is written.
  void EndProgram() {
    if (ending_) return;
    ending_ = true;
    tray_->Unload();
    PostQuitMessage(0);
  }

  HINSTANCE instance_;
  platform::MessageBoxDialogs dialogs_;
  bool ending_ = false;
  platform::Win32Displays systemDisplays_;
  overlay::OverlayWindows overlayWindows_;
  std::unique_ptr<platform::ProgramWindow> program_;  // display changes, timers, posted work
  std::unique_ptr<platform::Timer> keepOnTopTimer_;   // Timer1_settop
  std::unique_ptr<platform::Timer> rewriteTimer_;
  std::unique_ptr<tray::TrayForm> tray_;                       // mytray1
  std::unique_ptr<app::Notices> notices_;                      // the tray icon's balloon
  std::unique_ptr<overlay::OverlaySet> overlays_;              // mask_form_black, per display
  std::unique_ptr<display::DisplaySet> displays_;              // Form1 writes through it
  std::unique_ptr<app::MainWindowForm> form1_;                 // Form1 while loaded
  std::vector<std::unique_ptr<app::MainWindowForm>> unloadedForms_;  // closed, not yet deleted
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything else is loaded.
  lumenor::platform::LoadDllsFromSystemDirectoryOnly();
  if (!lumenor::platform::ConfirmSupportedWindows()) return 1;
  // A second copy shows its message and nothing else: no icon, no window, no hotkey.
  const lumenor::platform::SingleInstance singleInstance{kInstanceMutexName};
  if (singleInstance.AnotherCopyRunning()) {
    lumenor::platform::MessageBoxDialogs().ShowMessage(lumenor::app::kAlreadyRunningText,
                                                       lumenor::platform::kProgramTitle,
                                                       lumenor::platform::MessageIcon::None);
    return 0;
  }
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
