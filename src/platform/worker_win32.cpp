#include "platform/worker_win32.h"

#include <utility>
#include <vector>

namespace lumenor::platform {

struct ThreadWorker::Queue {
  explicit Queue(std::shared_ptr<Mailbox> deliveries) : deliveries(std::move(deliveries)) {}

  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE waiting = CONDITION_VARIABLE_INIT;
  std::vector<Job> jobs;
  bool ended = false;    // the worker is gone: no job starts any more
  unsigned serving = 0;  // the thread that serves the queue; the others only finish their job
  bool busy = false;     // that thread is in a job
  std::shared_ptr<Mailbox> deliveries;

  // A thread's own reference to the queue and its number, given to it at its start.
  struct Server {
    std::shared_ptr<Queue> queue;
    unsigned number;
  };

  // The thread's loop: the next job, or nothing once the worker is gone or another thread serves.
  Job Next(unsigned number) {
    AcquireSRWLockExclusive(&lock);
    if (serving == number) busy = false;
    while (jobs.empty() && !ended && serving == number)
      SleepConditionVariableSRW(&waiting, &lock, INFINITE, 0);
    Job job;
    if (!ended && serving == number) {
      job = std::move(jobs.front());
      jobs.erase(jobs.begin());
      busy = true;
    }
    ReleaseSRWLockExclusive(&lock);
    return job;
  }

  static DWORD WINAPI Serve(void* parameter) {
    // The queue lives until the thread is done with it.
    const std::unique_ptr<Server> server(static_cast<Server*>(parameter));
    Queue& queue = *server->queue;
    for (Job job = queue.Next(server->number); job; job = queue.Next(server->number)) {
      Delivery delivery;
      try {
        delivery = job();
      } catch (...) {
        // A job that failed delivers nothing; the next one runs.
      }
      job = nullptr;  // what it captured goes before the next job starts
      if (delivery) queue.deliveries->Post(std::move(delivery));
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

void ThreadWorker::StartThread() {
  auto* server = new Queue::Server{queue_, queue_->serving};
  thread_.reset(CreateThread(nullptr, 0, &Queue::Serve, server, 0, nullptr));
  if (!thread_) delete server;  // no thread: the jobs wait, and the next Run tries again
}

void ThreadWorker::Run(Job job) {
  if (!job) return;
  AcquireSRWLockExclusive(&queue_->lock);
  queue_->jobs.push_back(std::move(job));
  ReleaseSRWLockExclusive(&queue_->lock);
  WakeAllConditionVariable(&queue_->waiting);
  if (!thread_) StartThread();
}

void ThreadWorker::LeaveBehind() {
  AcquireSRWLockExclusive(&queue_->lock);
  const bool stuck = queue_->busy;
  if (stuck) {
    // The serving thread finishes its job alone; the queue is the next one's.
    ++queue_->serving;
    queue_->busy = false;
  }
  const bool waiting = !queue_->jobs.empty();
  ReleaseSRWLockExclusive(&queue_->lock);
  if (!stuck) return;
  thread_.reset();  // closed, never waited for
  if (waiting) StartThread();
}

}  // namespace lumenor::platform
