#pragma once
// The background thread, run by hand: jobs queue until the test runs them, and each job's delivery
// waits until the test delivers it, as the message loop would later.
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

  // The background thread runs the next job; its delivery waits. False when none was queued.
  bool RunJob() {
    if (jobs.empty()) return false;
    Job job = std::move(jobs.front());
    jobs.pop_front();
    deliveries.push_back(job());
    return true;
  }
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
  std::deque<Delivery> deliveries;
  int queued = 0;  // every job ever queued
};

}  // namespace lumenor::testing
