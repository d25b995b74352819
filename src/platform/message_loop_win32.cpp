#include "platform/message_loop_win32.h"

#include <algorithm>
#include <utility>

namespace lumenor::platform {

void MessageLoop::AtNextIdle(IdleWork& work) {
  if (std::find(waiting_.begin(), waiting_.end(), &work) == waiting_.end()) {
    waiting_.push_back(&work);
  }
}

void MessageLoop::Forget(IdleWork& work) {
  std::erase(waiting_, &work);
}

void MessageLoop::WentIdle() {
  ++turns_;
  if (waiting_.empty()) return;
  for (IdleWork* work : std::exchange(waiting_, {})) work->OnLoopIdle();
}

int MessageLoop::Run(const std::function<bool(MSG&)>& preTranslate) {
  MSG msg{};
  for (;;) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) == FALSE) WentIdle();
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    if (preTranslate && preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

}  // namespace lumenor::platform
