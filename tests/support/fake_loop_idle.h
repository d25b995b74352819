#pragma once
// The message loop's idle turns, by hand: the test says when the loop goes idle.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "platform/loop_idle.h"

namespace lumenor::testing {

class FakeLoopIdle : public platform::LoopIdle {
 public:
  std::uint64_t IdleTurns() const override { return turns; }
  void AtNextIdle(std::function<void()> work) override { waiting.push_back(std::move(work)); }

  // Every message waiting has been handled: the work put off runs.
  void GoIdle() {
    ++turns;
    for (auto& work : std::exchange(waiting, {})) work();
  }

  std::uint64_t turns = 0;
  std::vector<std::function<void()>> waiting;
};

}  // namespace lumenor::testing
