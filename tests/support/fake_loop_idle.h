#pragma once
// The message loop's idle turns, by hand: the test says when the loop goes idle.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/loop_idle.h"

namespace lumenor::testing {

class FakeLoopIdle : public platform::LoopIdle {
 public:
  std::uint64_t IdleTurns() const override { return turns; }
  void AtNextIdle(platform::IdleWork& work) override {
    if (std::find(waiting.begin(), waiting.end(), &work) == waiting.end()) waiting.push_back(&work);
  }
  void Forget(platform::IdleWork& work) override { std::erase(waiting, &work); }

  // Every message waiting has been handled: the work put off runs.
  void GoIdle() {
    ++turns;
    for (platform::IdleWork* work : std::exchange(waiting, {})) work->OnLoopIdle();
  }

  std::uint64_t turns = 0;
  std::vector<platform::IdleWork*> waiting;
};

}  // namespace lumenor::testing
