#include "platform/display_signals_win32.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/window_binding_win32.h"

namespace lumenor::platform {

namespace {

constexpr UINT_PTR kKeepOnTopTimerId = 1;  // Timer1_settop
constexpr UINT_PTR kRewriteTimerId = 2;
// The desktop-switch hook posts this to the listening window.
constexpr UINT kDesktopSwitched = WM_APP + 1;
constexpr DWORD kNotifyForThisSession = 0;  // NOTIFY_FOR_THIS_SESSION, from WTSAPI32's header

// GUID_CONSOLE_DISPLAY_STATE: the console display's off (0), on (1) or dimmed (2).
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// The desktop-switch hook is told of no window: the one listening window of the process.
HWND& ListeningWindow() {
  static HWND window = nullptr;
  return window;
}

void CALLBACK OnDesktopSwitch(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  if (ListeningWindow() != nullptr) PostMessageW(ListeningWindow(), kDesktopSwitched, 0, 0);
}

// Whether `size` bytes at `address` are committed, readable memory of this process. lParam of a
// power broadcast is a pointer, and any program on the desktop can post one.
bool Readable(const void* address, std::size_t size) {
  MEMORY_BASIC_INFORMATION region{};
  if (address == nullptr || VirtualQuery(address, &region, sizeof region) == 0) return false;
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  if (region.State != MEM_COMMIT || (region.Protect & kReadable) == 0 ||
      (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0)
    return false;
  const auto* begin = static_cast<const char*>(address);
  const auto* end = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
  return begin + size <= end;
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

void WindowTimer::Start(unsigned milliseconds) {
  // SetTimer with the id of a running timer replaces it.
  running_ = SetTimer(window_, id_, milliseconds, nullptr) != 0;
}

void WindowTimer::Stop() {
  if (running_) KillTimer(window_, id_);
  running_ = false;
}

SessionNotifications::SessionNotifications(HWND window)
    : window_(window),
      library_(LoadLibraryExW(L"wtsapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
  if (!library_) return;
  using Register = BOOL(WINAPI*)(HWND, DWORD);
  const auto registerFor = reinterpret_cast<Register>(reinterpret_cast<void*>(
      GetProcAddress(library_.get(), "WTSRegisterSessionNotification")));
  unregister_ = reinterpret_cast<Unregister>(reinterpret_cast<void*>(
      GetProcAddress(library_.get(), "WTSUnRegisterSessionNotification")));
  registered_ = registerFor != nullptr && unregister_ != nullptr &&
                registerFor(window, kNotifyForThisSession) != FALSE;
}

SessionNotifications::~SessionNotifications() {
  if (registered_) unregister_(window_);
}

struct DisplaySignalsWindow::Impl final : WindowBase<Impl> {
  Impl(HINSTANCE instance, Handlers handlers);
  ~Impl();
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void Tell(DisplaySignal signal);

  Handlers handlers;
  std::optional<WindowTimer> keepOnTop;
  std::optional<WindowTimer> rewrite;
  std::optional<SessionNotifications> session;
  HPOWERNOTIFY displayPower = nullptr;
  HWINEVENTHOOK desktopSwitch = nullptr;
};

DisplaySignalsWindow::Impl::Impl(HINSTANCE instance, Handlers handlers)
    : handlers(std::move(handlers)) {
  // Hidden: WS_VISIBLE is not among the styles, and nothing ever shows it.
  CreateBoundWindow(instance, {kDisplaySignalsClass}, L"",
                    {WS_EX_TOOLWINDOW, WS_OVERLAPPED, RECT{}, nullptr, nullptr});
  keepOnTop.emplace(Window(), kKeepOnTopTimerId);
  rewrite.emplace(Window(), kRewriteTimerId);
  session.emplace(Window());
  displayPower =
      RegisterPowerSettingNotification(Window(), &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
  ListeningWindow() = Window();
  desktopSwitch = SetWinEventHook(EVENT_SYSTEM_DESKTOPSWITCH, EVENT_SYSTEM_DESKTOPSWITCH, nullptr,
                                  &OnDesktopSwitch, 0, 0, WINEVENT_OUTOFCONTEXT);
}

DisplaySignalsWindow::Impl::~Impl() {
  if (desktopSwitch != nullptr) UnhookWinEvent(desktopSwitch);
  ListeningWindow() = nullptr;
  if (displayPower != nullptr) UnregisterPowerSettingNotification(displayPower);
  // All three need the window.
  session.reset();
  rewrite.reset();
  keepOnTop.reset();
  DestroyWindowNow();
}

void DisplaySignalsWindow::Impl::Tell(DisplaySignal signal) {
  if (signal != DisplaySignal::None && handlers.signal) handlers.signal(signal);
}

LRESULT DisplaySignalsWindow::Impl::HandleMessage(UINT message, WPARAM wParam,
                                                  LPARAM lParam) noexcept {
  switch (message) {
    case WM_TIMER:
      if (keepOnTop && keepOnTop->IsTick(wParam)) {
        if (handlers.keepOnTopTick) handlers.keepOnTopTick();
        return 0;
      }
      if (rewrite && rewrite->IsTick(wParam)) {
        if (handlers.rewriteTick) handlers.rewriteTick();
        return 0;
      }
      break;
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

DisplaySignalsWindow::DisplaySignalsWindow(HINSTANCE instance, Handlers handlers)
    : impl_(std::make_unique<Impl>(instance, std::move(handlers))) {}

DisplaySignalsWindow::~DisplaySignalsWindow() = default;

Timer& DisplaySignalsWindow::KeepOnTopTimer() {
  return *impl_->keepOnTop;
}

Timer& DisplaySignalsWindow::RewriteTimer() {
  return *impl_->rewrite;
}

HWND DisplaySignalsWindow::Window() const {
  return impl_->Window();
}

}  // namespace lumenor::platform
