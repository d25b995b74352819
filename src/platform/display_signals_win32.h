#pragma once
// The program's ear for the displays, and its timers.
//
// DisplaySignalsWindow is a hidden top-level window (only top-level windows hear WM_DISPLAYCHANGE
// and the power broadcasts). For as long as it lives it is registered for the session's notices
// (unlock, console connect), the console display's power state (a display switched back on) and
// the desktop switches of secure prompts, and turns what it hears into platform::DisplaySignal. It
// also carries the program's display timers: Timer1_settop, the one 5 s tick, and the rewrite
// timer.
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/display_signals.h"
#include "platform/handles_win32.h"
#include "platform/timer.h"

namespace lumenor::platform {

// A timer on a window: SetTimer while running, killed by Stop and when this object goes. The
// window hands each WM_TIMER's id to IsTick. The window must outlive it.
class WindowTimer final : public Timer {
 public:
  WindowTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  ~WindowTimer() override { Stop(); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  void Start(unsigned milliseconds) override;
  void Stop() override;
  // For the window's WM_TIMER: true when it is this timer's tick.
  bool IsTick(WPARAM id) const { return running_ && id == id_; }

 private:
  HWND window_;
  UINT_PTR id_;
  bool running_ = false;
};

// WM_WTSSESSION_CHANGE reaches the window (for this session) from construction until destruction.
// WTSAPI32 is loaded from the system directory only when this object is made, so no copy of it
// saved beside the exe is ever loaded. The window must outlive it.
class SessionNotifications {
 public:
  explicit SessionNotifications(HWND window);
  ~SessionNotifications();
  SessionNotifications(const SessionNotifications&) = delete;
  SessionNotifications& operator=(const SessionNotifications&) = delete;

  bool Registered() const { return registered_; }

 private:
  using Unregister = BOOL(WINAPI*)(HWND);
  HWND window_;
  UniqueModule library_;
  Unregister unregister_ = nullptr;
  bool registered_ = false;
};

// The class of the listening window, which the desktop tests post the system's notices to.
inline constexpr wchar_t kDisplaySignalsClass[] = L"LumenorDisplaySignals";

class DisplaySignalsWindow {
 public:
  struct Handlers {
    std::function<void(DisplaySignal)> signal;
    std::function<void()> keepOnTopTick;  // Timer1_settop
    std::function<void()> rewriteTick;
  };

  DisplaySignalsWindow(HINSTANCE instance, Handlers handlers);
  ~DisplaySignalsWindow();
  DisplaySignalsWindow(const DisplaySignalsWindow&) = delete;
  DisplaySignalsWindow& operator=(const DisplaySignalsWindow&) = delete;

  Timer& KeepOnTopTimer();
  Timer& RewriteTimer();
  HWND Window() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lumenor::platform
