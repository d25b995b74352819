#pragma once
// Slow device work off the user-interface thread. A monitor's DDC/CI calls take 40-50 ms, sometimes
// seconds, and can hang: one background thread runs them, one job after another (monitors on one
// bus answer wrongly when asked at once). A job uses only what it captured and owns; it returns
// the delivery, which runs later on the user-interface thread, from the message loop, and is the
// only part that may touch program state. A job that hangs is left behind on its thread while a
// fresh one takes the queue. Nothing ever waits for a background thread, not even the end of the
// program: a job still running then is abandoned with it.

#include <functional>

namespace lumenor::platform {

class Worker {
 public:
  // Runs on the user-interface thread, never inside Run. It may come after the object that asked
  // for the job is gone: capture a weak reference, not `this`.
  using Delivery = std::function<void()>;
  // Runs on the background thread.
  using Job = std::function<Delivery()>;

  virtual ~Worker() = default;
  // Queues the job behind those not yet run.
  virtual void Run(Job job) = 0;
  // The job running now takes too long: the jobs after it go to a fresh thread. Its delivery still
  // comes if it ever returns, and its thread then ends. Nothing when no job is running.
  virtual void LeaveBehind() = 0;
};

}  // namespace lumenor::platform
