#pragma once
// The worker: one background thread, made on the first job, that runs the jobs in turn and posts
// each delivery to the program window's mailbox. Its destruction never waits: the thread finishes
// the job it is in (or is ended with the process), frees the jobs left and ends.
#include <windows.h>

#include <memory>

#include "platform/handles_win32.h"
#include "platform/program_window_win32.h"
#include "platform/worker.h"

namespace lumenor::platform {

class ThreadWorker final : public Worker {
 public:
  explicit ThreadWorker(std::shared_ptr<Mailbox> deliveries);
  ~ThreadWorker() override;
  ThreadWorker(const ThreadWorker&) = delete;
  ThreadWorker& operator=(const ThreadWorker&) = delete;

  void Run(Job job) override;

 private:
  struct Queue;
  std::shared_ptr<Queue> queue_;  // shared with the thread, which may outlive this object
  UniqueKernelHandle thread_;
};

}  // namespace lumenor::platform
