#include "tray/tray_form_win32.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"
#include "platform/handles_win32.h"
#include "platform/notify_icon_win32.h"
#include "platform/program_files_win32.h"
#include "platform/text_win32.h"
#include "platform/window_binding_win32.h"
#include "resource_ids.h"
#include "tray/tray_icon.h"

namespace lumenor::tray {

namespace {

constexpr wchar_t kCaption[] = L"mytray1";  // never seen: the window is never shown
constexpr UINT_PTR kBalloonTimerId = 1;     // Timer_no_boloon
constexpr UINT kRunDeferred = WM_APP + 1;

// myhame's items.
constexpr UINT kOpen1 = 1;  // "Tandwin专版"
constexpr UINT kSave1 = 2;  // "选项"
constexpr UINT kSd1 = 3;    // "退出"

using platform::UniqueIcon;
using platform::UniqueMenu;
using platform::UniqueWindow;

// The system's text for an error code, without its line break.
std::string ErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer != nullptr ? buffer : L"", length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  return platform::Utf8(text);
}

[[noreturn]] void ThrowLastError() {
  const DWORD error = GetLastError();
  throw TrayError(static_cast<std::int32_t>(error), ErrorText(error));
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The path in the active code page (UTF-8 through the manifest), empty when some character of it
// has no spelling there.
std::string AnsiPath(const std::wstring& path) {
  const UINT codePage = GetACP();
  const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL lossy = FALSE;
  BOOL* lossyOut = codePage == CP_UTF8 ? nullptr : &lossy;
  const int size = static_cast<int>(path.size());
  const int length =
      WideCharToMultiByte(codePage, flags, path.c_str(), size, nullptr, 0, nullptr, lossyOut);
  if (length <= 0 || lossy) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, path.c_str(), size, text.data(), length, nullptr, lossyOut);
  return lossy ? std::string{} : text;
}

}  // namespace

struct TrayForm::Impl final : TrayHost {
  Impl(HINSTANCE instance, platform::Dialogs& dialogs, Callbacks callbacks)
      : instance(instance), dialogs(dialogs), callbacks(std::move(callbacks)) {}
  ~Impl() override {
    tray.RemoveTrayIcon();
    window.reset();  // before the icons it carries
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  void Load();
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void RunDeferred();

  // TrayHost
  std::uint64_t Window() const override { return reinterpret_cast<std::uintptr_t>(window.get()); }
  std::uint64_t OwnIcon() const override { return reinterpret_cast<std::uintptr_t>(ownIcon); }
  std::uint64_t LoadIconFile() override;
  void StartBalloonTimer(std::uint32_t ms) override {
    SetTimer(window.get(), kBalloonTimerId, ms, nullptr);
  }
  void StopBalloonTimer() override { KillTimer(window.get(), kBalloonTimerId); }
  void OpenMenu() override;
  void ShowMainWindow() override {
    if (callbacks.showMainWindow) callbacks.showMainWindow();
  }
  void ShowErrorReport(std::string_view text) override {
    dialogs.ShowMessage(text, platform::kProgramTitle, platform::MessageIcon::None);
  }

  HINSTANCE instance;
  platform::Dialogs& dialogs;
  Callbacks callbacks;
  UniqueIcon ownedOwnIcon;  // the program icon at small size, when the resource has it
  HICON ownIcon = nullptr;  // the icon the window carries
  UniqueIcon fileIcon;      // tray.ico, when it loaded
  UniqueMenu menu;          // myhame
  UniqueWindow window;
  UINT taskbarCreated = 0;
  platform::ShellNotifyIcon shell;
  TrayIcon tray{*this, shell};
  std::vector<std::function<void()>> deferred;
};

void TrayForm::Impl::Load() {
  const int small = GetSystemMetrics(SM_CXSMICON);
  ownedOwnIcon.reset(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_LUMENOR), IMAGE_ICON, small, small, 0)));
  ownIcon = ownedOwnIcon ? ownedOwnIcon.get() : LoadIconW(nullptr, IDI_APPLICATION);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &platform::BoundWindowProc<Impl>;
  wc.hInstance = instance;
  wc.lpszClassName = kTrayFormClass;
  platform::EnsureWindowClass(wc);
  // Hidden: WS_VISIBLE is not among the styles, and nothing ever shows it.
  window.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kTrayFormClass, kCaption, WS_OVERLAPPED, 0, 0, 0,
                               0, nullptr, nullptr, instance, this));
  SendMessageW(window.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ownIcon));

  // Timer_no_boloon has interval 0 until a balloon asks for it: no timer runs until then.

  menu.reset(CreatePopupMenu());
  AppendMenuW(menu.get(), MF_STRING, kOpen1, L"Tandwin专版");
  AppendMenuW(menu.get(), MF_STRING, kSave1, L"选项");
  AppendMenuW(menu.get(), MF_STRING, kSd1, L"退出");

  // Explorer broadcasts this to top-level windows when it recreates the taskbar.
  taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  ChangeWindowMessageFilterEx(window.get(), taskbarCreated, MSGFLT_ALLOW, nullptr);

  tray.AddTrayIcon(kTrayTooltip);
}

std::uint64_t TrayForm::Impl::LoadIconFile() {
  // The directory lumenor.exe was started from, never the working directory.
  const std::wstring directory = platform::ModuleDirectory();
  if (directory.empty()) ThrowLastError();
  const std::wstring path = directory + L"\\tray.ico";
  if (!FileExists(path)) return 0;
  // A stand-alone icon file takes no module handle. The path goes in the active code page when it
  // can be spelled there, else as it is.
  constexpr UINT kFlags = LR_LOADFROMFILE | LR_LOADMAP3DCOLORS;
  const std::string ansi = AnsiPath(path);
  HANDLE image = !ansi.empty() ? LoadImageA(nullptr, ansi.c_str(), IMAGE_ICON, 16, 16, kFlags)
                               : LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 16, 16, kFlags);
  fileIcon.reset(static_cast<HICON>(image));
  return reinterpret_cast<std::uintptr_t>(fileIcon.get());
}

void TrayForm::Impl::OpenMenu() {
  POINT at{};
  GetCursorPos(&at);
  // The menu closes when the user clicks elsewhere only if our window is in the foreground.
  SetForegroundWindow(window.get());
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                     at.x, at.y, 0, window.get(), nullptr));
  PostMessageW(window.get(), WM_NULL, 0, 0);
  switch (chosen) {
    case kOpen1:
      break;  // "Tandwin专版" does nothing
    case kSave1:
      ShowMainWindow();
      break;
    case kSd1:
      if (callbacks.endProgram) callbacks.endProgram();
      break;
    default:
      break;  // dismissed
  }
}

void TrayForm::Impl::RunDeferred() {
  auto work = std::exchange(deferred, {});
  for (auto& step : work) step();
}

LRESULT TrayForm::Impl::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  // Messages of the creation, before the window is ours to hold, get the default processing.
  if (window.get() != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == taskbarCreated && taskbarCreated != 0) {
    tray.OnTaskbarCreated();
    return 0;
  }
  if (LRESULT count = 0; platform::AnswerLiveHandleCount(message, wParam, count)) return count;
  switch (message) {
    case kTrayCallbackMessage:  // WM_MOUSEMOVE: the icon's mouse message in lParam's low word
      tray.OnIconMessage(LOWORD(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kBalloonTimerId) {
        tray.OnBalloonTimer();
        return 0;
      }
      break;
    case kRunDeferred:
      RunDeferred();
      return 0;
    case WM_CLOSE:  // closing the start-up window ends the program the way "退出" does
      if (callbacks.endProgram) callbacks.endProgram();
      return 0;
    case WM_ENDSESSION:
      if (wParam != FALSE) tray.RemoveTrayIcon();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TrayForm::TrayForm(HINSTANCE instance, platform::Dialogs& dialogs, Callbacks callbacks)
    : impl_(std::make_unique<Impl>(instance, dialogs, std::move(callbacks))) {
  impl_->Load();
}

TrayForm::~TrayForm() = default;

void TrayForm::Unload() {
  impl_->tray.RemoveTrayIcon();
  impl_->StopBalloonTimer();
}

void TrayForm::TrayBalloon(std::string_view text, std::string_view title, std::int16_t contime) {
  impl_->tray.TrayBalloon(text, title, contime);
}

void TrayForm::Defer(std::function<void()> work) {
  impl_->deferred.push_back(std::move(work));
  PostMessageW(impl_->window.get(), kRunDeferred, 0, 0);
}

HWND TrayForm::Window() const {
  return impl_->window.get();
}

}  // namespace lumenor::tray
