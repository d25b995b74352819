#include "platform/display_signals_win32.h"

// after windows.h, which it needs
#include <wtsapi32.h>

namespace lumenor::platform {

WindowOneShotTimer::WindowOneShotTimer(HWND window, UINT_PTR timerId)
    : window_(window), timerId_(timerId) {}

WindowOneShotTimer::~WindowOneShotTimer() {
  Stop();
}

void WindowOneShotTimer::Start(unsigned milliseconds) {
  // SetTimer with the id of a running timer replaces it.
  pending_ = SetTimer(window_, timerId_, milliseconds, nullptr) != 0;
}

void WindowOneShotTimer::Stop() {
  if (pending_) KillTimer(window_, timerId_);
  pending_ = false;
}

bool WindowOneShotTimer::TakeTick(WPARAM timerId) {
  if (timerId != timerId_ || !pending_) return false;
  Stop();  // a window timer repeats until killed
  return true;
}

SessionNotifications::SessionNotifications(HWND window)
    : window_(window),
      registered_(WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE) {}

SessionNotifications::~SessionNotifications() {
  if (registered_) WTSUnRegisterSessionNotification(window_);
}

}  // namespace lumenor::platform
