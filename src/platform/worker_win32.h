#pragma once
// The worker: a background thread, made on the first job, that runs the jobs in turn and posts
// each delivery to the program window's mailbox. A thread whose job is left behind serves the
// queue no more: it posts that job's delivery if the job ever returns and ends, and the next
// thread takes the queue. Its destruction never waits: each thread finishes the job it is in (or
// is ended with the process), frees the jobs left and ends.
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
  void LeaveBehind() override;

 private:
  struct Queue;
  void StartThread();

  std::shared_ptr<Queue> queue_;  // shared with the threads, which may outlive this object
  UniqueKernelHandle thread_;     // the one serving the queue now
};

}  // namespace lumenor::platform
