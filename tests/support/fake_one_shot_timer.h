#pragma once
// A one-shot timer the test ticks by hand: it records each start and whether a tick is pending.
#include <vector>

#include "platform/one_shot_timer.h"

namespace lumenor::testing {

class FakeOneShotTimer : public platform::OneShotTimer {
 public:
  void Start(unsigned milliseconds) override {
    starts.push_back(milliseconds);
    pending = true;
  }
  void Stop() override { pending = false; }

  // The tick arrives: true when one was pending, which then has gone.
  bool Fire() {
    const bool was = pending;
    pending = false;
    return was;
  }

  std::vector<unsigned> starts;  // every Start's interval, in order
  bool pending = false;
};

}  // namespace lumenor::testing
