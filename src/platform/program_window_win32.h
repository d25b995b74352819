#pragma once
// The program's one hidden message window.
//
// ProgramWindow is a hidden top-level window (only top-level windows hear WM_DISPLAYCHANGE and the
// power broadcasts). For as long as it lives it is registered for the session's notices (unlock,
// console connect), the console display's power state (a display switched back on) and the
// desktop switches of secure prompts, and turns what it hears into platform::DisplaySignal. It
// carries every timer of the program (Timer1_settop, the rewrite timer, Timer_no_boloon, ...), and
// runs posted work from the message loop: the worker's deliveries and work that must not run
// inside the window procedure that asks for it.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/display_signals.h"
#include "platform/handles_win32.h"
#include "platform/timer.h"

namespace lumenor::platform {

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

// Work posted to the window from any thread, run there one after another from the message loop.
// Once the window has closed it, work posted is freed at once and never runs; work still waiting
// then is freed too.
class Mailbox {
 public:
  explicit Mailbox(HWND window) : window_(window) {}
  Mailbox(const Mailbox&) = delete;
  Mailbox& operator=(const Mailbox&) = delete;

  void Post(std::function<void()> work);
  // The window's side, on its own thread.
  void RunWaiting();
  void Close();

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  HWND window_;
  std::vector<std::function<void()>> waiting_;
  bool nudged_ = false;  // a message that runs the waiting work is in the window's queue
  bool closed_ = false;
};

// The class of the program window, which the desktop tests post the system's notices to.
inline constexpr wchar_t kDisplaySignalsClass[] = L"LumenorDisplaySignals";

class ProgramWindow {
 public:
  ProgramWindow(HINSTANCE instance, std::function<void(DisplaySignal)> signal);
  ~ProgramWindow();
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  // A timer of its own whose ticks call `tick` on this thread. The window must outlive it.
  std::unique_ptr<Timer> MakeTimer(std::function<void()> tick);
  // Runs `work` from the message loop once the message being handled now is done. Any thread.
  void Post(std::function<void()> work);
  // For the worker thread's deliveries; it stays valid after the window is gone.
  std::shared_ptr<Mailbox> Deliveries() const;
  HWND Window() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lumenor::platform
