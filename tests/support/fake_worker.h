#pragma once
// The background thread, run by hand: jobs queue until the test runs them, and each job's delivery
// waits until the test delivers it, as the message loop would later. The job at the front counts
// as running: one left behind moves aside, and runs (returns late) only when the test says so.
#include <deque>
#include <utility>

#include "platform/worker.h"

namespace lumenor::testing {

class FakeWorker : public platform::Worker {
 public:
  void Run(Job job) override {
    jobs.push_back(std::move(job));
    ++queued;
  }
  void LeaveBehind() override {
    if (jobs.empty()) return;
    leftBehind.push_back(std::move(jobs.front()));
    jobs.pop_front();
  }

  // The background thread runs the next job; its delivery waits. False when none was queued.
  bool RunJob() { return RunFrom(jobs); }
  // A job left behind returns at last; its delivery waits. False when none was left behind.
  bool ReturnLate() { return RunFrom(leftBehind); }
  // The message loop runs the deliveries waiting.
  void Deliver() {
    while (!deliveries.empty()) {
      Delivery delivery = std::move(deliveries.front());
      deliveries.pop_front();
      if (delivery) delivery();
    }
  }
  // Every job and every delivery, until nothing is queued.
  void Settle() {
    while (RunJob()) Deliver();
  }

  std::deque<Job> jobs;
  std::deque<Job> leftBehind;  // hanging, until ReturnLate
  std::deque<Delivery> deliveries;
  int queued = 0;  // every job ever queued

 private:
  bool RunFrom(std::deque<Job>& from) {
    if (from.empty()) return false;
    Job job = std::move(from.front());
    from.pop_front();
    deliveries.push_back(job());
    return true;
  }
};

}  // namespace lumenor::testing
