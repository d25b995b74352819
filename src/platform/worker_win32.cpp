#include "platform/worker_win32.h"

#include <utility>
#include <vector>

namespace lumenor::platform {

struct ThreadWorker::Queue {
  explicit Queue(std::shared_ptr<Mailbox> deliveries) : deliveries(std::move(deliveries)) {}

  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE waiting = CONDITION_VARIABLE_INIT;
  std::vector<Job> jobs;
  bool ended = false;  // the worker is gone: no job starts any more
  std::shared_ptr<Mailbox> deliveries;

  // The thread's loop: the next job, or nothing once the worker is gone.
  Job Next() {
    AcquireSRWLockExclusive(&lock);
    while (jobs.empty() && !ended) SleepConditionVariableSRW(&waiting, &lock, INFINITE, 0);
    Job job;
    if (!ended) {
      job = std::move(jobs.front());
      jobs.erase(jobs.begin());
    }
    ReleaseSRWLockExclusive(&lock);
    return job;
  }

  static DWORD WINAPI Serve(void* parameter) {
    // The thread's own reference: the queue lives until the thread is done with it.
    const std::unique_ptr<std::shared_ptr<Queue>> queue(
        static_cast<std::shared_ptr<Queue>*>(parameter));
    for (Job job = (*queue)->Next(); job; job = (*queue)->Next()) {
      Delivery delivery;
      try {
        delivery = job();
      } catch (...) {
        // A job that failed delivers nothing; the next one runs.
      }
      job = nullptr;  // what it captured goes before the next job starts
      if (delivery) (*queue)->deliveries->Post(std::move(delivery));
    }
    return 0;
  }
};

ThreadWorker::ThreadWorker(std::shared_ptr<Mailbox> deliveries)
    : queue_(std::make_shared<Queue>(std::move(deliveries))) {}

ThreadWorker::~ThreadWorker() {
  AcquireSRWLockExclusive(&queue_->lock);
  queue_->ended = true;
  std::vector<Job> left = std::exchange(queue_->jobs, {});
  ReleaseSRWLockExclusive(&queue_->lock);
  WakeAllConditionVariable(&queue_->waiting);
  // The thread handle is closed here, never waited for.
}

void ThreadWorker::Run(Job job) {
  if (!job) return;
  AcquireSRWLockExclusive(&queue_->lock);
  queue_->jobs.push_back(std::move(job));
  ReleaseSRWLockExclusive(&queue_->lock);
  WakeConditionVariable(&queue_->waiting);
  if (thread_) return;
  auto* reference = new std::shared_ptr<Queue>(queue_);
  thread_.reset(CreateThread(nullptr, 0, &Queue::Serve, reference, 0, nullptr));
  if (!thread_) delete reference;  // no thread: the job waits, and the next Run tries again
}

}  // namespace lumenor::platform
