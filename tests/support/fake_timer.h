#pragma once
// A timer the test ticks by hand: it records each start and whether it runs.
#include <vector>

#include "platform/timer.h"

namespace lumenor::testing {

class FakeTimer : public platform::Timer {
 public:
  void Start(unsigned milliseconds) override {
    starts.push_back(milliseconds);
    running = true;
  }
  void Stop() override { running = false; }

  // A tick arrives: true when the timer runs.
  bool Fire() const { return running; }

  std::vector<unsigned> starts;  // every Start's interval, in order
  bool running = false;
};

}  // namespace lumenor::testing
