#include "platform/program_window_win32.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/readable_win32.h"
#include "platform/window_binding_win32.h"

namespace lumenor::platform {

namespace {

// The desktop-switch hook posts this to the program window.
constexpr UINT kDesktopSwitched = WM_APP + 1;
// The mailbox has work waiting.
constexpr UINT kRunPosted = WM_APP + 2;
constexpr DWORD kNotifyForThisSession = 0;  // NOTIFY_FOR_THIS_SESSION, from WTSAPI32's header

// GUID_CONSOLE_DISPLAY_STATE: the console display's off (0), on (1) or dimmed (2).
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// The desktop-switch hook is told of no window: the one program window of the process.
HWND& ListeningWindow() {
  static HWND window = nullptr;
  return window;
}

void CALLBACK OnDesktopSwitch(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  if (ListeningWindow() != nullptr) PostMessageW(ListeningWindow(), kDesktopSwitched, 0, 0);
}

// The console display's state a power-setting change reports, or -1.
int ConsoleDisplayState(WPARAM wParam, LPARAM lParam) {
  if (wParam != PBT_POWERSETTINGCHANGE) return -1;
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
  constexpr std::size_t kHeader = offsetof(POWERBROADCAST_SETTING, Data);
  if (!Readable(setting, kHeader + sizeof(DWORD))) return -1;
  if (!IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) ||
      setting->DataLength < sizeof(DWORD))
    return -1;
  DWORD state = 0;
  std::memcpy(&state, setting->Data, sizeof state);
  return static_cast<int>(state);
}

}  // namespace

void Mailbox::Post(std::function<void()> work) {
  AcquireSRWLockExclusive(&lock_);
  const bool open = !closed_;
  if (open) {
    waiting_.push_back(std::move(work));
    // Posted under the lock, so never to a window already closed.
    if (!nudged_) nudged_ = PostMessageW(window_, kRunPosted, 0, 0) != FALSE;
  }
  ReleaseSRWLockExclusive(&lock_);
  // A closed mailbox frees the work here, outside the lock: what it captured may post again.
  if (!open) work = nullptr;
}

void Mailbox::RunWaiting() {
  AcquireSRWLockExclusive(&lock_);
  auto work = std::exchange(waiting_, {});
  nudged_ = false;
  ReleaseSRWLockExclusive(&lock_);
  for (auto& step : work) step();
}

void Mailbox::Close() {
  AcquireSRWLockExclusive(&lock_);
  closed_ = true;
  auto work = std::exchange(waiting_, {});
  ReleaseSRWLockExclusive(&lock_);
}

SessionNotifications::SessionNotifications(HWND window)
    : window_(window),
      library_(LoadLibraryExW(L"wtsapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
  if (!library_) return;
  using Register = BOOL(WINAPI*)(HWND, DWORD);
  const auto registerFor = reinterpret_cast<Register>(
      reinterpret_cast<void*>(GetProcAddress(library_.get(), "WTSRegisterSessionNotification")));
  unregister_ = reinterpret_cast<Unregister>(
      reinterpret_cast<void*>(GetProcAddress(library_.get(), "WTSUnRegisterSessionNotification")));
  registered_ = registerFor != nullptr && unregister_ != nullptr &&
                registerFor(window, kNotifyForThisSession) != FALSE;
}

SessionNotifications::~SessionNotifications() {
  if (registered_) unregister_(window_);
}

struct ProgramWindow::Impl final : WindowBase<Impl> {
  Impl(HINSTANCE instance, std::function<void(DisplaySignal)> signal);
  ~Impl();
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void Tell(DisplaySignal signal);

  class WindowTimer;
  std::function<void(DisplaySignal)> signal;
  std::shared_ptr<Mailbox> mailbox;
  WindowTimer* timers = nullptr;  // those alive, linked: a tick of a timer gone may still come
  UINT_PTR lastTimerId = 0;
  std::optional<SessionNotifications> session;
  HPOWERNOTIFY displayPower = nullptr;
  HWINEVENTHOOK desktopSwitch = nullptr;
};

// A timer on the program window: SetTimer while running, killed by Stop and when it goes.
class ProgramWindow::Impl::WindowTimer final : public Timer {
 public:
  WindowTimer(Impl& window, std::function<void()> tick)
      : window_(window), id_(++window.lastTimerId), tick_(std::move(tick)), next_(window.timers) {
    window_.timers = this;
  }
  ~WindowTimer() override {
    Stop();
    WindowTimer** link = &window_.timers;
    while (*link != this) link = &(*link)->next_;
    *link = next_;
  }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  void Start(unsigned milliseconds) override {
    // SetTimer with the id of a running timer replaces it.
    running_ = SetTimer(window_.Window(), id_, milliseconds, nullptr) != 0;
  }
  void Stop() override {
    if (running_) KillTimer(window_.Window(), id_);
    running_ = false;
  }
  // For the window's WM_TIMER: the running timer of that id, or null.
  WindowTimer* Find(WPARAM id) {
    WindowTimer* timer = this;
    while (timer != nullptr && !(timer->running_ && timer->id_ == id)) timer = timer->next_;
    return timer;
  }
  void Tick() {
    if (tick_) tick_();
  }

 private:
  Impl& window_;
  UINT_PTR id_;
  std::function<void()> tick_;
  WindowTimer* next_;
  bool running_ = false;
};

ProgramWindow::Impl::Impl(HINSTANCE instance, std::function<void(DisplaySignal)> signal)
    : signal(std::move(signal)) {
  // Hidden: WS_VISIBLE is not among the styles, and nothing ever shows it.
  CreateBoundWindow(instance, {kDisplaySignalsClass}, L"",
                    {WS_EX_TOOLWINDOW, WS_OVERLAPPED, RECT{}, nullptr, nullptr});
  mailbox = std::make_shared<Mailbox>(Window());
  session.emplace(Window());
  displayPower = RegisterPowerSettingNotification(Window(), &kConsoleDisplayState,
                                                  DEVICE_NOTIFY_WINDOW_HANDLE);
  ListeningWindow() = Window();
  desktopSwitch = SetWinEventHook(EVENT_SYSTEM_DESKTOPSWITCH, EVENT_SYSTEM_DESKTOPSWITCH, nullptr,
                                  &OnDesktopSwitch, 0, 0, WINEVENT_OUTOFCONTEXT);
}

ProgramWindow::Impl::~Impl() {
  if (desktopSwitch != nullptr) UnhookWinEvent(desktopSwitch);
  ListeningWindow() = nullptr;
  if (displayPower != nullptr) UnregisterPowerSettingNotification(displayPower);
  session.reset();   // it needs the window
  mailbox->Close();  // before the window goes: nothing is posted to it after
  DestroyWindowNow();
}

void ProgramWindow::Impl::Tell(DisplaySignal signal) {
  if (signal != DisplaySignal::None && this->signal) this->signal(signal);
}

LRESULT ProgramWindow::Impl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_TIMER:
      if (WindowTimer* timer = timers != nullptr ? timers->Find(wParam) : nullptr) {
        timer->Tick();  // it may end timers, itself among them
        return 0;
      }
      break;
    case kRunPosted:
      mailbox->RunWaiting();
      return 0;
    case WM_DISPLAYCHANGE:
    case WM_WTSSESSION_CHANGE:
      Tell(SignalOfMessage(message, wParam));
      break;
    case WM_POWERBROADCAST:
      Tell(SignalOfMessage(message, wParam, ConsoleDisplayState(wParam, lParam)));
      return TRUE;
    case kDesktopSwitched:
      // Back from a secure desktop (an elevation prompt), the ramp may be the system's.
      Tell(DisplaySignal::MayHaveBeenReset);
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

ProgramWindow::ProgramWindow(HINSTANCE instance, std::function<void(DisplaySignal)> signal)
    : impl_(std::make_unique<Impl>(instance, std::move(signal))) {}

ProgramWindow::~ProgramWindow() = default;

std::unique_ptr<Timer> ProgramWindow::MakeTimer(std::function<void()> tick) {
  return std::make_unique<Impl::WindowTimer>(*impl_, std::move(tick));
}

void ProgramWindow::Post(std::function<void()> work) {
  impl_->mailbox->Post(std::move(work));
}

std::shared_ptr<Mailbox> ProgramWindow::Deliveries() const {
  return impl_->mailbox;
}

HWND ProgramWindow::Window() const {
  return impl_->Window();
}

}  // namespace lumenor::platform
