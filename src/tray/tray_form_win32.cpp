#include "tray/tray_form_win32.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"
#include "platform/handle_counts_win32.h"
#include "platform/handles_win32.h"
#include "platform/notify_icon_win32.h"
#include "platform/program_files_win32.h"
#include "platform/program_window_win32.h"
#include "platform/text_win32.h"
#include "platform/window_binding_win32.h"
#include "resource_ids.h"
#include "tray/icon_wheel_win32.h"
#include "tray/tray_icon.h"

namespace lumenor::tray {

namespace {

constexpr wchar_t kCaption[] = L"mytray1";  // never seen: the window is never shown

// myhame's items.
constexpr UINT kOpen1 = 1;  // "Tandwin专版"
constexpr UINT kSave1 = 2;  // "选项"
constexpr UINT kSd1 = 3;    // "退出"
// The "设置" submenu's items: this plus the item's place.
constexpr UINT kFirstSetting = 50;
// The "显示器" submenu's items: this plus the display's index, and "先调背光".
constexpr UINT kFirstDisplay = 100;
constexpr UINT kBacklightFirst = 99;
constexpr char kBacklightFirstText[] = "先调背光";  // the submenu's last item, the backlight stage
// "设置" stands third, just above "显示器" (or "退出" when there is none).
constexpr UINT kSettingsPosition = 2;
constexpr UINT kDisplaysPosition = 3;

using platform::UniqueIcon;
using platform::UniqueMenu;

[[noreturn]] void ThrowLastError() {
  const DWORD error = GetLastError();
  throw TrayError(static_cast<std::int32_t>(error), platform::SystemErrorText(error));
}

}  // namespace

struct TrayForm::Impl final : TrayHost, platform::WindowBase<Impl> {
  Impl(HINSTANCE instance, platform::Dialogs& dialogs, platform::ProgramWindow& program,
       Callbacks callbacks)
      : instance(instance), dialogs(dialogs), program(program), callbacks(std::move(callbacks)) {}
  ~Impl() override {
    wheel.Stop();
    tray.RemoveTrayIcon();
    DestroyWindowNow();  // before the icons it carries
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  void Load();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND Hwnd() const { return platform::WindowBase<Impl>::Window(); }

  // TrayHost
  std::uint64_t Window() const override { return reinterpret_cast<std::uintptr_t>(Hwnd()); }
  std::uint64_t OwnIcon() const override { return reinterpret_cast<std::uintptr_t>(ownIcon); }
  std::uint64_t LoadIconFile() override;
  void StartBalloonTimer(std::uint32_t ms) override {
    if (balloonTimer) balloonTimer->Start(ms);
  }
  void StopBalloonTimer() override {
    if (balloonTimer) balloonTimer->Stop();
  }
  void StartAddRetryTimer(std::uint32_t ms) override {
    if (addRetryTimer) addRetryTimer->Start(ms);
  }
  void StopAddRetryTimer() override {
    if (addRetryTimer) addRetryTimer->Stop();
  }
  void OpenMenu() override;
  // Notches turned on the icon, positive away from the user: a step each, on the keys' road.
  void TurnWheel(int notches) {
    if (!callbacks.wheelStep) return;
    for (; notches < 0; ++notches) callbacks.wheelStep(true);
    for (; notches > 0; --notches) callbacks.wheelStep(false);
  }
  void UpdateDisplaysItem(const std::vector<display::DisplayChoice>& choices);
  void ShowMainWindow() override {
    if (callbacks.showMainWindow) callbacks.showMainWindow();
  }
  void ShowErrorReport(std::string_view text) override {
    dialogs.ShowMessage(text, platform::kProgramTitle, platform::MessageIcon::None);
  }

  HINSTANCE instance;
  platform::Dialogs& dialogs;
  platform::ProgramWindow& program;
  Callbacks callbacks;
  UniqueIcon ownedOwnIcon;  // the program icon at small size, when the resource has it
  HICON ownIcon = nullptr;  // the icon the window carries
  UniqueIcon fileIcon;      // tray.ico, when it loaded
  UniqueMenu menu;          // myhame
  bool displaysItem = false;  // myhame holds the "显示器" submenu
  HMENU settingsMenu = nullptr;  // "设置", owned by myhame
  UINT taskbarCreated = 0;
  UINT showMainWindowRequest = 0;
  platform::ShellNotifyIcon shell;
  TrayIcon tray{*this, shell};
  IconWheel wheel;  // its hook runs only while the cursor is on the icon
  std::unique_ptr<platform::Timer> balloonTimer;  // Timer_no_boloon
  std::unique_ptr<platform::Timer> addRetryTimer;  // the shell did not take the icon yet
};

void TrayForm::Impl::Load() {
  const int small = GetSystemMetrics(SM_CXSMICON);
  ownedOwnIcon.reset(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_LUMENOR), IMAGE_ICON, small, small, 0)));
  ownIcon = ownedOwnIcon ? ownedOwnIcon.get() : LoadIconW(nullptr, IDI_APPLICATION);

  // Hidden: WS_VISIBLE is not among the styles, and nothing ever shows it.
  CreateBoundWindow(instance, {kTrayFormClass}, kCaption,
                    {WS_EX_TOOLWINDOW, WS_OVERLAPPED, RECT{}, nullptr, nullptr});
  SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ownIcon));

  // Timer_no_boloon has interval 0 until a balloon asks for it: no timer runs until then.
  balloonTimer = program.MakeTimer([this] { tray.OnBalloonTimer(); });
  addRetryTimer = program.MakeTimer([this] { tray.OnAddRetryTimer(); });

  menu.reset(CreatePopupMenu());
  AppendMenuW(menu.get(), MF_STRING, kOpen1, L"Tandwin专版");
  AppendMenuW(menu.get(), MF_STRING, kSave1, L"选项");
  AppendMenuW(menu.get(), MF_STRING, kSd1, L"退出");
  UniqueMenu settings(CreatePopupMenu());
  AppendMenuW(settings.get(), MF_STRING, kFirstSetting, L"快捷键…");
  AppendMenuW(settings.get(), MF_STRING, kFirstSetting + 1, L"开机启动");
  AppendMenuW(settings.get(), MF_STRING, kFirstSetting + 2, L"启动时恢复上次的设置");
  AppendMenuW(settings.get(), MF_STRING, kFirstSetting + 3, L"截图时包含遮罩");
  AppendMenuW(settings.get(), MF_STRING, kFirstSetting + 4, L"显示调节提示");
  if (InsertMenuW(menu.get(), kSettingsPosition, MF_BYPOSITION | MF_POPUP,
                  reinterpret_cast<UINT_PTR>(settings.get()), L"设置")) {
    settingsMenu = settings.release();  // myhame owns it now
  }

  // Explorer broadcasts this to top-level windows when it recreates the taskbar.
  taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  ChangeWindowMessageFilterEx(Hwnd(), taskbarCreated, MSGFLT_ALLOW, nullptr);
  showMainWindowRequest = RegisterWindowMessageW(kShowMainWindowMessage);
  ChangeWindowMessageFilterEx(Hwnd(), showMainWindowRequest, MSGFLT_ALLOW, nullptr);

  tray.AddTrayIcon(kTrayTooltip);
}

std::uint64_t TrayForm::Impl::LoadIconFile() {
  // The directory lumenor.exe was started from, never the working directory.
  const std::wstring path = platform::DirectoryFiles().PathOf("tray.ico");
  if (path.empty()) ThrowLastError();
  if (!platform::FileExists(path)) return 0;
  // A stand-alone icon file takes no module handle. The path goes in the active code page when it
  // can be spelled there, else as it is.
  constexpr UINT kFlags = LR_LOADFROMFILE | LR_LOADMAP3DCOLORS;
  const std::string ansi = platform::ActiveCodePageText(path);
  HANDLE image = !ansi.empty() ? LoadImageA(nullptr, ansi.c_str(), IMAGE_ICON, 16, 16, kFlags)
                               : LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 16, 16, kFlags);
  fileIcon.reset(static_cast<HICON>(image));
  return reinterpret_cast<std::uintptr_t>(fileIcon.get());
}

// With more than one display, or a backlight the program drives, "显示器" stands just above "退出"
// with one checked item per display and, with a backlight, "先调背光" last; otherwise the menu is
// the three items alone. Displays come and go, so this is done at each open.
void TrayForm::Impl::UpdateDisplaysItem(const std::vector<display::DisplayChoice>& choices) {
  if (displaysItem) {
    DeleteMenu(menu.get(), kDisplaysPosition, MF_BYPOSITION);  // destroys the submenu with it
    displaysItem = false;
  }
  const bool backlight = callbacks.anyBacklight && callbacks.anyBacklight();
  if (choices.size() < 2 && !backlight) return;
  UniqueMenu displays(CreatePopupMenu());
  for (std::size_t k = 0; k < choices.size(); ++k) {
    AppendMenuW(displays.get(), MF_STRING | (choices[k].included ? MF_CHECKED : MF_UNCHECKED),
                kFirstDisplay + k, platform::Utf16(choices[k].label).c_str());
  }
  if (backlight) {
    const bool on = !callbacks.backlightFirst || callbacks.backlightFirst();
    AppendMenuW(displays.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(displays.get(), MF_STRING | (on ? MF_CHECKED : MF_UNCHECKED), kBacklightFirst,
                platform::Utf16(kBacklightFirstText).c_str());
  }
  const std::wstring caption = platform::Utf16(display::kDisplaysMenuText);
  if (InsertMenuW(menu.get(), kDisplaysPosition, MF_BYPOSITION | MF_POPUP,
                  reinterpret_cast<UINT_PTR>(displays.get()), caption.c_str())) {
    (void)displays.release();  // myhame owns it now
    displaysItem = true;
  }
}

void TrayForm::Impl::OpenMenu() {
  std::vector<display::DisplayChoice> choices;
  if (callbacks.displayChoices) choices = callbacks.displayChoices();
  UpdateDisplaysItem(choices);
  if (settingsMenu != nullptr && callbacks.settingsChecks) {
    const SettingsChecks checks = callbacks.settingsChecks();
    const auto check = [this](UINT item, bool on) {
      CheckMenuItem(settingsMenu, kFirstSetting + item, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    };
    check(1, checks.startWithWindows);
    check(2, checks.restoreAtStart);
    check(3, checks.includeInScreenshots);
    check(4, checks.showLevel);
  }
  POINT at{};
  GetCursorPos(&at);
  // The menu closes when the user clicks elsewhere only if our window is in the foreground.
  SetForegroundWindow(Hwnd());
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                     at.x, at.y, 0, Hwnd(), nullptr));
  PostMessageW(Hwnd(), WM_NULL, 0, 0);
  switch (chosen) {
    case kOpen1:
      break;  // "Tandwin专版" does nothing
    case kSave1:
      ShowMainWindow();
      break;
    case kSd1:
      if (callbacks.endProgram) callbacks.endProgram();
      break;
    case kFirstSetting:
    case kFirstSetting + 1:
    case kFirstSetting + 2:
    case kFirstSetting + 3:
    case kFirstSetting + 4:
      if (callbacks.chooseSetting) callbacks.chooseSetting(static_cast<SettingsItem>(chosen - kFirstSetting));
      break;
    case kBacklightFirst:
      if (callbacks.setBacklightFirst && callbacks.backlightFirst)
        callbacks.setBacklightFirst(!callbacks.backlightFirst());
      break;
    default:
      if (chosen >= kFirstDisplay && chosen - kFirstDisplay < choices.size() &&
          callbacks.chooseDisplay) {
        const std::size_t index = chosen - kFirstDisplay;
        callbacks.chooseDisplay(choices[index], !choices[index].included);
      }
      break;  // or dismissed
  }
}

LRESULT TrayForm::Impl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == taskbarCreated && taskbarCreated != 0) {
    tray.OnTaskbarCreated();
    return 0;
  }
  if (message == showMainWindowRequest && showMainWindowRequest != 0) {
    ShowMainWindow();
    return 0;
  }
  if (LRESULT count = 0; platform::AnswerLiveHandleCount(message, wParam, count)) return count;
  switch (message) {
    case kTrayCallbackMessage:  // WM_MOUSEMOVE: the icon's mouse message in lParam's low word
      if (LOWORD(lParam) == WM_MOUSEMOVE && tray.IconAdded())
        wheel.OnIconMouseMove(Hwnd(), tray.Record().ReadU32(tray.Record().Layout().uID));
      tray.OnIconMessage(LOWORD(lParam));
      return 0;
    case kIconWheelMessage:
      TurnWheel(wheel.OnPosted(wParam, lParam));
      return 0;
    case WM_COPYDATA: {
      // The system copied the data and its size into this process; what it holds is not trusted.
      const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (copy == nullptr || !callbacks.command) return FALSE;
      const std::span data(static_cast<const std::byte*>(copy->lpData),
                           copy->lpData != nullptr ? copy->cbData : 0);
      return callbacks.command(copy->dwData, data) ? TRUE : FALSE;
    }
    case WM_CLOSE:  // closing the start-up window ends the program the way "退出" does
      if (callbacks.endProgram) callbacks.endProgram();
      return 0;
    case WM_ENDSESSION:
      // The session ends, or the Restart Manager closes the program for an update
      // (ENDSESSION_CLOSEAPP): the program ends the way "退出" does.
      if (wParam != FALSE && callbacks.endProgram) callbacks.endProgram();
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

TrayForm::TrayForm(HINSTANCE instance, platform::Dialogs& dialogs,
                   platform::ProgramWindow& program, Callbacks callbacks)
    : impl_(std::make_unique<Impl>(instance, dialogs, program, std::move(callbacks))) {
  impl_->Load();
}

TrayForm::~TrayForm() = default;

void TrayForm::Unload() {
  impl_->wheel.Stop();
  impl_->tray.RemoveTrayIcon();
  impl_->StopBalloonTimer();
}

void TrayForm::TrayBalloon(std::string_view text, std::string_view title, std::int16_t contime) {
  impl_->tray.TrayBalloon(text, title, contime);
}

HWND TrayForm::Window() const {
  return impl_->Hwnd();
}

}  // namespace lumenor::tray
