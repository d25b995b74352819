#pragma once
// The program's one message loop. Each time it finds no message waiting it goes idle: the turn is
// counted and the work put off until then runs (LoopIdle).

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/loop_idle.h"

namespace lumenor::platform {

class MessageLoop final : public LoopIdle {
 public:
  std::uint64_t IdleTurns() const override { return turns_; }
  void AtNextIdle(IdleWork& work) override;
  void Forget(IdleWork& work) override;

  // Runs until WM_QUIT and answers its exit code. preTranslate takes a message first (the main
  // window's keyboard navigation); true: it was handled.
  int Run(const std::function<bool(MSG&)>& preTranslate);

 private:
  void WentIdle();

  std::uint64_t turns_ = 0;
  std::vector<IdleWork*> waiting_;
};

}  // namespace lumenor::platform
