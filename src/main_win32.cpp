// Entry point, in the order the program starts: the DLL search and the Windows check, the
// single-instance test, then the program window (display changes, timers, posted work), the tray
// form (hidden, its timer and icon), the displays with their overlays, then the main window Form1;
// then the one message loop of the program's one thread.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdint>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "app/command_line_win32.h"
#include "app/main_window.h"  // the text a second copy shows
#include "app/main_window_host_win32.h"
#include "app/notices.h"
#include "app/settings_commands_win32.h"
#include "dimming/backlight_keepers.h"
#include "dimming/darkness_road.h"
#include "display/display_set.h"
#include "level/level_panel_win32.h"
#include "overlay/overlay_set.h"
#include "overlay/overlay_window_win32.h"
#include "platform/backlights_win32.h"
#include "platform/dialogs_win32.h"
#include "platform/displays_win32.h"
#include "platform/dll_search_win32.h"
#include "platform/message_loop_win32.h"
#include "platform/program_window_win32.h"
#include "platform/single_instance_win32.h"
#include "platform/system_check_win32.h"
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
            [this] {
              if (form1_) form1_->Show();
            },
            [this] { EndProgram(); }, [this] { return commands_->DisplayChoices(); },
            [this](const display::DisplayChoice& choice, bool included) {
              commands_->ChooseDisplay(choice.identity, included);
            },
            [this] { return commands_->Checks(); },
            [this](tray::SettingsItem item) { commands_->Choose(item); },
            [this] { return commands_->AnyBacklight(); },
            [this] { return commands_->BacklightFirst(); },
            [this](bool on) { commands_->ChooseBacklightFirst(on); },
            [this](bool darker) {
              using Kind = dimming::Request::Kind;
              road_->Take({darker ? Kind::StepDarker : Kind::StepBrighter, 0,
                           dimming::Source::Wheel});
            },
            [this](std::uint64_t tag, std::span<const std::byte> data) {
              return RunCommand(app::ReceivedCommand(tag, data));
            }});
    notices_ = std::make_unique<TrayNotices>(*tray_);
    // Read once, before anything it decides is made.
    settings_ = std::make_unique<settings::SettingsKeeper>(settingsStore_, *notices_);
    settings_->Load();
    settings::PointStartWithWindowsHere();
    // The overlays are there for every display; their windows are made on their first use, and
    // look as the road plans them.
    overlays_ = std::make_unique<overlay::OverlaySet>(overlayWindows_, [this] {
      return road_ ? road_->OverlayNow() : overlay::OverlayLook{};
    });
    MakeKeepers();
    // The darkness road, like the ramps, outlives every load of Form1.
    road_ = std::make_unique<dimming::DarknessRoad>(*overlays_, keepers_.get());
    road_->ReadBacklightFirstFrom([this] { return settings_->Current().backlightFirst; });
    levelPanel_ = std::make_unique<level::LevelPanel>(instance_, *program_, *settings_);
    road_->SetLevelDisplay(levelPanel_.get());
    if (keepers_) road_->SetDisplays(keepers_->Abilities());
    followers_ = std::make_unique<display::DisplayFollowers>(
        std::vector<display::DisplayFollower*>{overlays_.get(), keepers_.get()});
    // The ramps applied last belong to the program: they outlive every load of Form1.
    displays_ = std::make_unique<display::DisplaySet>(systemDisplays_, *rewriteTimer_, *notices_,
                                                      *followers_, &idle);
    keepOnTopTimer_->Start(overlay::kKeepOnTopIntervalMs);  // Timer1_settop
    form1_ = std::make_unique<app::MainWindowHost>(app::MainWindowHost::Parts{
        instance_, *road_, *displays_, *notices_, *settings_, *program_, [this] { EndProgram(); }});
    commands_ = std::make_unique<app::SettingsCommands>(app::SettingsCommands::Targets{
        instance_, *settings_, *notices_, *overlays_, *displays_, keepers_.get(),
        [this] { return tray_->Window(); },
        [this](const settings::KeyPair& wanted) { return form1_->ChangeHotkeys(wanted); }});
    commands_->PutInForce();
    // The last step of the tray form's load: show Form1.
    form1_->Load();
    if (!startInTray) form1_->Show();
  }

  ~Application() {
    // Form1 goes first, the tray form last.
    form1_.reset();
    commands_.reset();
    displays_.reset();  // before its timers
    road_.reset();
    levelPanel_.reset();  // after the road that tells it, before the program window
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

  bool PreTranslate(MSG& msg) { return form1_ && form1_->PreTranslate(msg); }

  // A command of this start's command line, or one a later start handed over; false when there
  // is none, or the program is ending.
  bool RunCommand(const std::optional<app::Command>& command) {
    if (!command || ending_ || !road_ || !form1_) return false;
    app::RunCommand(*command, *road_, *this);
    return true;
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

  // app::CommandActions: "恢复默认" and "选项" as Form1's button and the tray's item.
  void RestoreDefaults() override { form1_->RestoreDefaults(); }
  void ShowMainWindow() override { form1_->Show(); }

  // Command2 and "退出": remove the icon, then end at once. The windows are destroyed when the
  // message loop has ended; no ramp is restored, and only the settings file is written.
  void EndProgram() override {
    if (ending_) return;
    ending_ = true;
    if (form1_) form1_->KeepStateAtEnd();
    tray_->Unload();
    PostQuitMessage(0);
  }

  HINSTANCE instance_;
  platform::MessageBoxDialogs dialogs_;
  bool ending_ = false;
  settings::SettingsFileStore settingsStore_ = settings::SettingsFileStore::ForThisProgram();
  std::unique_ptr<settings::SettingsKeeper> settings_;
  platform::Win32Displays systemDisplays_;
  overlay::OverlayWindows overlayWindows_;
  std::unique_ptr<platform::ProgramWindow> program_;  // display changes, timers, posted work
  std::unique_ptr<platform::ThreadWorker> worker_;    // the monitors' slow calls
  std::unique_ptr<platform::Timer> keepOnTopTimer_;   // Timer1_settop
  std::unique_ptr<platform::Timer> rewriteTimer_;
  std::unique_ptr<tray::TrayForm> tray_;                           // mytray1
  std::unique_ptr<app::Notices> notices_;                          // the tray icon's balloon
  std::unique_ptr<overlay::OverlaySet> overlays_;                  // mask_form_black, per display
  std::unique_ptr<display::DisplaySet> displays_;                  // Form1 writes through it
  std::vector<std::unique_ptr<platform::Timer>> backlightTimers_;  // the keepers' three
  std::unique_ptr<dimming::BacklightKeepers> keepers_;  // null: no backlight is driven
  std::unique_ptr<dimming::DarknessRoad> road_;         // the bar, 加强 and backlights
  std::unique_ptr<level::LevelPanel> levelPanel_;       // the level on screen
  std::unique_ptr<display::DisplayFollowers> followers_;  // the overlays and the keepers
  std::unique_ptr<app::MainWindowHost> form1_;            // Form1 across its loads
  std::unique_ptr<app::SettingsCommands> commands_;  // "设置", "先调背光", the choices
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

  lumenor::platform::MessageLoop loop;
  // A command starts the program in the tray, and runs once the displays are known.
  Application application(instance, loop, command->verb != Verb::None);
  application.RunCommand(command);
  return loop.Run([&application](MSG& msg) { return application.PreTranslate(msg); });
}
