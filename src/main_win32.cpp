// Entry point, in the order the program starts: the DLL search and the Windows check, the
// single-instance test, then the program window (display changes, timers, posted work), the tray
// form (hidden, its timer and icon), the displays with their overlays, then the main window Form1;
// then the one message loop of the program's one thread.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/command_line_win32.h"
#include "app/main_window.h"
#include "app/main_window_win32.h"
#include "app/notices.h"
#include "app/settings_commands_win32.h"
#include "dimming/backlight_keepers.h"
#include "dimming/darkness_road.h"
#include "display/display_set.h"
#include "overlay/overlay_set.h"
#include "overlay/overlay_window_win32.h"
#include "platform/backlight.h"
#include "platform/backlights_win32.h"
#include "platform/dialogs_win32.h"
#include "platform/displays_win32.h"
#include "platform/dll_search_win32.h"
#include "platform/loop_idle.h"
#include "platform/program_files_win32.h"
#include "platform/program_window_win32.h"
#include "platform/single_instance_win32.h"
#include "platform/system_check_win32.h"
#include "platform/timer.h"
#include "platform/worker.h"
#include "platform/worker_win32.h"
#include "settings/settings_keeper.h"
#include "settings/settings_store_win32.h"
#include "settings/start_with_windows_win32.h"
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

// The message loop's idle turns: counted, and the work put off until then run, each time the loop
// finds no message waiting.
class MessageLoopIdle final : public platform::LoopIdle {
 public:
  std::uint64_t IdleTurns() const override { return turns_; }
  void AtNextIdle(platform::IdleWork& work) override {
    if (std::find(waiting_.begin(), waiting_.end(), &work) == waiting_.end()) {
      waiting_.push_back(&work);
    }
  }
  void Forget(platform::IdleWork& work) override { std::erase(waiting_, &work); }
  void WentIdle() {
    ++turns_;
    if (waiting_.empty()) return;
    for (platform::IdleWork* work : std::exchange(waiting_, {})) work->OnLoopIdle();
  }

 private:
  std::uint64_t turns_ = 0;
  std::vector<platform::IdleWork*> waiting_;
};

// What the displays' followers are: the overlays, and the backlight keepers when there are any.
class Followers final : public display::DisplayFollower {
 public:
  Followers(display::DisplayFollower& overlays, display::DisplayFollower* keepers)
      : overlays_(overlays), keepers_(keepers) {}
  void Follow(const std::vector<display::FollowedDisplay>& displays) override {
    overlays_.Follow(displays);
    if (keepers_ != nullptr) keepers_->Follow(displays);
  }
  void KeepOnTop() override {
    overlays_.KeepOnTop();
    if (keepers_ != nullptr) keepers_->KeepOnTop();
  }

 private:
  display::DisplayFollower& overlays_;
  display::DisplayFollower* keepers_;
};

class Application final : app::CommandActions {
 public:
  // With startInTray Form1 is loaded and stays hidden, as after "小到托盘".
  Application(HINSTANCE instance, platform::LoopIdle& idle, bool startInTray)
      : instance_(instance), overlayWindows_(instance) {
    program_ = std::make_unique<platform::ProgramWindow>(
        instance_, [this](platform::DisplaySignal signal) {
          if (displays_) displays_->OnSignal(signal);
          if (keepers_) keepers_->OnSignal(signal);
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
            [this] { return DisplayChoices(); },
            [this](const display::DisplayChoice& choice, bool included) {
              if (displays_) displays_->SetIncluded(choice.identity, included);
              if (commands_) commands_->KeepDisplayChoice(choice.identity, included);
            },
            [this] { return commands_ ? commands_->Checks() : tray::SettingsChecks{}; },
            [this](tray::SettingsItem item) {
              if (commands_) commands_->Choose(item);
            },
            [this] { return AnyBacklight(); },
            [this] { return !road_ || road_->State().backlightFirst; },
            [this](bool on) {
              if (commands_) commands_->ChooseBacklightFirst(on);
            },
            [this](std::uint64_t tag, std::span<const std::byte> data) {
              return RunCommand(app::ReceivedCommand(tag, data));
            }});
    notices_ = std::make_unique<TrayNotices>(*tray_);
    // Read once, before anything it decides is made.
    settings_ = std::make_unique<settings::SettingsKeeper>(settingsStore_, *notices_);
    settings_->Load();
    settings::PointStartWithWindowsHere();
    // The overlays are there for every display; their windows are made on their first use.
    overlays_ = std::make_unique<overlay::OverlaySet>(overlayWindows_);
    MakeKeepers();
    // The darkness road, like the ramps, outlives every load of Form1.
    road_ = std::make_unique<dimming::DarknessRoad>(*overlays_, keepers_.get());
    road_->SetBacklightFirst(settings_->Current().backlightFirst);
    if (keepers_) road_->SetDisplays(keepers_->Abilities());
    followers_ = std::make_unique<Followers>(*overlays_, keepers_.get());
    commands_ = std::make_unique<app::SettingsCommands>(app::SettingsCommands::Targets{
        instance_, *settings_, *notices_, *overlays_, *road_, [this] { return tray_->Window(); },
        [this](const settings::KeyPair& wanted) -> std::optional<settings::KeyPair> {
          if (ending_) return std::nullopt;
          return form1_ ? form1_->ChangeHotkeys(wanted) : wanted;
        }});
    // The ramps applied last belong to the program: they outlive every load of Form1.
    displays_ = std::make_unique<display::DisplaySet>(systemDisplays_, *rewriteTimer_, *notices_,
                                                      *followers_, &idle);
    keepOnTopTimer_->Start(overlay::kKeepOnTopIntervalMs);  // Timer1_settop
    for (const std::string& identity : settings_->Current().displaysLeftOut) {
      displays_->SetIncluded(identity, false);  // nothing for a display not attached now
    }
    overlays_->KeepOutOfCapture(!settings_->Current().includeInScreenshots);
    // The last step of the tray form's load: show Form1.
    LoadMainWindow();
    if (!startInTray) form1_->Show();
  }

  ~Application() {
    // Form1 goes first so its hotkey controls unregister their keys and delete their global
    // atoms, which would otherwise outlive the process; the tray form goes last.
    ending_ = true;
    form1_.reset();
    unloadedForms_.clear();
    displays_.reset();  // before its timers
    commands_.reset();
    road_.reset();
    followers_.reset();
    keepers_.reset();  // a job still on the worker thread delivers to no one
    backlightTimers_.clear();
    overlays_.reset();
    notices_.reset();
    tray_.reset();
    rewriteTimer_.reset();
    keepOnTopTimer_.reset();
    program_.reset();  // last: the others' timers are on it
  }

  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // A command of this start's command line, or one a later start handed over; false when there
  // is none, or the program is ending.
  bool RunCommand(const std::optional<app::Command>& command) {
    if (!command || ending_ || !road_ || !displays_) return false;
    app::RunCommand(*command, *road_, *this);
    return true;
  }

  // Keyboard navigation between Form1's controls (Tab, arrow keys, Enter on buttons).
  bool PreTranslate(MSG& msg) {
    if (!form1_) return false;
    HWND window = form1_->Window();
    return window != nullptr && IsDialogMessageW(window, &msg) != FALSE;
  }

 private:
  // The monitors' backlights over DDC/CI, served by one background thread whose results come
  // back through the program window.
  void MakeKeepers() {
    worker_ = std::make_unique<platform::ThreadWorker>(program_->Deliveries());
    const auto timer = [&](void (dimming::BacklightKeepers::*tick)()) -> platform::Timer& {
      backlightTimers_.push_back(program_->MakeTimer([this, tick] {
        if (keepers_) (keepers_.get()->*tick)();
      }));
      return *backlightTimers_.back();
    };
    dimming::BacklightKeepers::Timers timers{timer(&dimming::BacklightKeepers::OnWatchdogTimer),
                                             timer(&dimming::BacklightKeepers::OnRetryTimer),
                                             timer(&dimming::BacklightKeepers::OnWakeTimer)};
    keepers_ = std::make_unique<dimming::BacklightKeepers>(
        *worker_, std::make_shared<platform::Win32Backlights>(), timers, *notices_,
        [this](std::vector<dimming::DisplayAbility> abilities) {
          if (road_) road_->SetDisplays(std::move(abilities));
        });
  }

  bool AnyBacklight() const {
    if (!keepers_) return false;
    for (const dimming::DisplayAbility& display : keepers_->Abilities()) {
      if (display.backlight) return true;
    }
    return false;
  }

  // The tray menu's displays, each driven backlight with its level.
  std::vector<display::DisplayChoice> DisplayChoices() const {
    if (!displays_) return {};
    std::vector<display::DisplayChoice> choices = displays_->Choices();
    if (!keepers_) return choices;
    for (display::DisplayChoice& choice : choices) {
      if (const std::optional<int> percent = keepers_->Percent(choice.identity))
        choice.label = dimming::WithBacklight(std::move(choice.label), *percent);
    }
    return choices;
  }

  // Shows Form1 non-modally, loading it (and running its start-up) when it is not loaded.
  void ShowMainWindow() override {
    if (ending_) return;
    LoadMainWindow();
    form1_->Show();
  }

  // "恢复默认" by a command: Form1's own button while it is loaded; while it is closed, its sliders
  // come back neutral at the next load anyway, and the road and the displays are restored here.
  void RestoreDefaults() override {
    if (form1_) return form1_->RestoreDefaults();
    road_->Take({dimming::Request::Kind::Restore, 0, dimming::Source::Command});
    platform::DirectoryFiles programFiles;
    app::RestoreReferences(*displays_, programFiles, dialogs_);
  }

  // Form1 loads with the keys chosen; the first load of the run brings back the last state when
  // the user asked for that.
  void LoadMainWindow() {
    if (form1_) return;
    const settings::Settings& chosen = settings_->Current();
    form1_ = app::MainWindowForm::Load(
        instance_, *road_, *displays_, *notices_,
        app::MainWindowForm::Callbacks{[this] { EndProgram(); },
                                       [this] { OnMainWindowUnloaded(); }},
        settings::KeyPair{chosen.darkerKey, chosen.brighterKey});
    if (!loadedOnce_ && chosen.restoreAtStart && chosen.lastState) {
      form1_->RestoreState(*chosen.lastState);
    }
    loadedOnce_ = true;
  }

  // Form1's close box unloaded it. This runs inside its window procedure, so the form is deleted
  // from the message loop afterwards; a show before then loads a new one.
  void OnMainWindowUnloaded() {
    if (ending_ || !form1_) return;
    lastState_ = form1_->State();
    unloadedForms_.push_back(std::move(form1_));
    program_->Post([this] { unloadedForms_.clear(); });
  }

  // Command2 and "退出": remove the icon, then end at once. The windows are destroyed when the
  // message loop has ended; no ramp is restored, and only the settings file is written, while the
  // state at the end is kept for the next start.
  void EndProgram() override {
    if (ending_) return;
    if (form1_) lastState_ = form1_->State();
    if (lastState_) {
      // The backlights as the road has them now: monitors may have answered since Form1 closed.
      if (road_) lastState_->backlights = road_->State().backlights;
      settings_->AtEnd(*lastState_);
    }
    ending_ = true;
    tray_->Unload();
    PostQuitMessage(0);
  }

  HINSTANCE instance_;
  platform::MessageBoxDialogs dialogs_;
  bool ending_ = false;
  bool loadedOnce_ = false;
  std::optional<settings::WindowState> lastState_;  // Form1's, when it was last closed
  settings::SettingsFileStore settingsStore_ = settings::SettingsFileStore::ForThisProgram();
  std::unique_ptr<settings::SettingsKeeper> settings_;
  platform::Win32Displays systemDisplays_;
  overlay::OverlayWindows overlayWindows_;
  std::unique_ptr<platform::ProgramWindow> program_;  // display changes, timers, posted work
  std::unique_ptr<platform::ThreadWorker> worker_;    // the monitors' slow calls
  std::unique_ptr<platform::Timer> keepOnTopTimer_;   // Timer1_settop
  std::unique_ptr<platform::Timer> rewriteTimer_;
  std::unique_ptr<tray::TrayForm> tray_;                       // mytray1
  std::unique_ptr<app::Notices> notices_;                      // the tray icon's balloon
  std::unique_ptr<overlay::OverlaySet> overlays_;              // mask_form_black, per display
  std::unique_ptr<display::DisplaySet> displays_;              // Form1 writes through it
  std::vector<std::unique_ptr<platform::Timer>> backlightTimers_;  // the keepers' three
  std::unique_ptr<dimming::BacklightKeepers> keepers_;         // null: no backlight is driven
  std::unique_ptr<dimming::DarknessRoad> road_;                // the bar, 加强 and backlights
  std::unique_ptr<Followers> followers_;                       // the overlays and the keepers
  std::unique_ptr<app::SettingsCommands> commands_;            // "设置", "先调背光", the choices
  std::unique_ptr<app::MainWindowForm> form1_;                 // Form1 while loaded
  std::vector<std::unique_ptr<app::MainWindowForm>> unloadedForms_;  // closed, not yet deleted
};

}  // namespace

// The first copy's tray window is told to show its main window in front; Windows lets it come
// forward because this copy, which the user just started, allows it.
void BringFirstCopyForward() {
  HWND tray = FindWindowW(lumenor::tray::kTrayFormClass, nullptr);
  if (tray == nullptr) return;
  DWORD process = 0;
  GetWindowThreadProcessId(tray, &process);
  if (process != 0) AllowSetForegroundWindow(process);
  PostMessageW(tray, RegisterWindowMessageW(lumenor::tray::kShowMainWindowMessage), 0, 0);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  // Before anything else is loaded.
  lumenor::platform::LoadDllsFromSystemDirectoryOnly();
  // A command not understood changes nothing: it is said, and the program ends.
  const std::optional<lumenor::app::Command> command = lumenor::app::ParseCommandLine(commandLine);
  using Verb = lumenor::app::Command::Verb;
  if (!command || command->verb == Verb::Help) {
    lumenor::app::ShowUsage();
    return command ? lumenor::app::kExitDone : lumenor::app::kExitBadCommand;
  }
  if (!lumenor::platform::ConfirmSupportedWindows()) return 1;
  // A second copy hands its command to the first and ends; started with none, it shows its
  // message and nothing else: no icon, no window, no hotkey.
  const lumenor::platform::SingleInstance singleInstance{kInstanceMutexName};
  if (singleInstance.AnotherCopyRunning()) {
    if (command->verb == Verb::Tray) return lumenor::app::kExitDone;
    if (lumenor::app::IsHandedOver(*command)) return lumenor::app::HandToRunningCopy(*command);
    lumenor::platform::MessageBoxDialogs().ShowMessage(lumenor::app::kAlreadyRunningText,
                                                       lumenor::platform::kProgramTitle,
                                                       lumenor::platform::MessageIcon::None);
    BringFirstCopyForward();
    return 0;
  }
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  int exitCode = 0;
  {
    MessageLoopIdle idle;
    // A command starts the program in the tray, and runs once the displays are known.
    Application application(instance, idle, command->verb != Verb::None);
    application.RunCommand(command);
    MSG msg;
    for (;;) {
      if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) == FALSE) idle.WentIdle();
      if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
      if (application.PreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (msg.message == WM_QUIT) exitCode = static_cast<int>(msg.wParam);
  }
  return exitCode;
}
