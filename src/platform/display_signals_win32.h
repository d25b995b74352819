#pragma once
// What the program's listening window needs to hear that the display may have been reset and to
// put its ramp back a moment later: session notices (unlock, console connect) registered for the
// window while an object lives, and a one-shot timer on the window.
#include <windows.h>

#include "platform/one_shot_timer.h"

namespace lumenor::platform {

// SetTimer on a window, killed at its first tick (when the window hands the tick over through
// TakeTick) and when this object goes. The window must outlive it.
class WindowOneShotTimer final : public OneShotTimer {
 public:
  WindowOneShotTimer(HWND window, UINT_PTR timerId);
  ~WindowOneShotTimer() override;
  WindowOneShotTimer(const WindowOneShotTimer&) = delete;
  WindowOneShotTimer& operator=(const WindowOneShotTimer&) = delete;

  void Start(unsigned milliseconds) override;
  void Stop() override;

  // For the window's WM_TIMER: true when it is this timer's pending tick, which then is over.
  bool TakeTick(WPARAM timerId);

 private:
  HWND window_;
  UINT_PTR timerId_;
  bool pending_ = false;
};

// WM_WTSSESSION_CHANGE reaches the window (for this session) from construction until destruction.
// The window must outlive it.
class SessionNotifications {
 public:
  explicit SessionNotifications(HWND window);
  ~SessionNotifications();
  SessionNotifications(const SessionNotifications&) = delete;
  SessionNotifications& operator=(const SessionNotifications&) = delete;

  bool Registered() const { return registered_; }

 private:
  HWND window_;
  bool registered_;
};

}  // namespace lumenor::platform
