// The program window's timers, posted work and session notices, and the worker that delivers to
// it, with the real calls.
#include "platform/program_window_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/handles_win32.h"
#include "platform/worker_win32.h"

namespace lumenor::platform {
namespace {

constexpr wchar_t kClass[] = L"LumenorSignalsTest";

// Runs this thread's messages for `milliseconds`, as the program's loop does.
void Pump(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

class ProgramWindowTest : public ::testing::Test {
 protected:
  ProgramWindow program{GetModuleHandleW(nullptr), {}};
};

TEST_F(ProgramWindowTest, TheTimerRepeatsUntilStoppedAndAStartReplacesTheInterval) {
  int ticks = 0;
  bool stopAtTick = true;
  std::unique_ptr<Timer> timer;
  timer = program.MakeTimer([&] {
    ++ticks;
    if (stopAtTick) timer->Stop();
  });
  timer->Start(30);
  Pump(400);
  EXPECT_EQ(ticks, 1) << "stopped at its tick, it ticks once";

  ticks = 0;
  stopAtTick = false;
  timer->Start(1000);
  timer->Start(60);  // replaces the second: ticks come well within 400 ms
  Pump(400);
  EXPECT_GE(ticks, 2) << "it repeats until stopped";

  timer->Stop();
  ticks = 0;
  Pump(200);
  EXPECT_EQ(ticks, 0);
}

TEST_F(ProgramWindowTest, EachTimerHearsOnlyItsOwnTicks) {
  int fast = 0;
  int slow = 0;
  const auto fastTimer = program.MakeTimer([&] { ++fast; });
  const auto slowTimer = program.MakeTimer([&] { ++slow; });
  fastTimer->Start(40);
  slowTimer->Start(5000);
  Pump(300);
  EXPECT_GE(fast, 2);
  EXPECT_EQ(slow, 0);
}

TEST_F(ProgramWindowTest, PostedWorkRunsFromTheMessageLoopNotBefore) {
  int runs = 0;
  program.Post([&] { ++runs; });
  EXPECT_EQ(runs, 0);
  Pump(50);
  EXPECT_EQ(runs, 1);
}

TEST(Mailbox_Post, WorkPostedOnceTheWindowIsGoneIsFreedAndNeverRuns) {
  std::shared_ptr<Mailbox> mailbox;
  bool ran = false;
  auto captured = std::make_shared<int>(0);
  const std::weak_ptr<int> seen = captured;
  {
    ProgramWindow program(GetModuleHandleW(nullptr), {});
    mailbox = program.Deliveries();
    program.Post([&ran, captured] { ran = true; });  // waiting when the window goes
  }
  mailbox->Post([&ran, captured] { ran = true; });
  captured.reset();
  Pump(50);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(seen.expired()) << "the work was kept, not freed";
}

TEST(SessionNotifications_Register, SessionNoticesRegisterForAWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  const UniqueWindow window(CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 1, 1,
                                            nullptr, nullptr, wc.hInstance, nullptr));
  ASSERT_NE(window.get(), nullptr);
  SessionNotifications notices(window.get());
  EXPECT_TRUE(notices.Registered());
}

TEST_F(ProgramWindowTest, WorkerRunsJobsInOrderOffThisThreadAndDeliversOnItFromTheLoop) {
  ThreadWorker worker(program.Deliveries());
  const DWORD ui = GetCurrentThreadId();
  std::vector<int> ran;        // by the jobs, in turn on the worker thread
  std::vector<int> delivered;  // by the deliveries, on this thread
  bool jobsOffThisThread = true;
  bool deliveriesOnThisThread = true;
  for (int k = 0; k < 5; ++k) {
    worker.Run([&, k]() -> Worker::Delivery {
      Sleep(5);
      jobsOffThisThread = jobsOffThisThread && GetCurrentThreadId() != ui;
      ran.push_back(k);
      return [&, k] {
        deliveriesOnThisThread = deliveriesOnThisThread && GetCurrentThreadId() == ui;
        delivered.push_back(k);
      };
    });
  }
  Sleep(300);  // the jobs are done, but nothing is delivered outside the message loop
  EXPECT_TRUE(delivered.empty());
  Pump(100);
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(delivered, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(jobsOffThisThread);
  EXPECT_TRUE(deliveriesOnThisThread);
}

TEST_F(ProgramWindowTest, WorkerGoesAtOnceWhileAJobIsBlockedAndStartsNoJobAfter) {
  const UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  bool nextJobRan = false;
  auto worker = std::make_unique<ThreadWorker>(program.Deliveries());
  const HANDLE event = release.get();
  worker->Run([event]() -> Worker::Delivery {
    WaitForSingleObject(event, 10000);  // a monitor that does not answer
    return {};
  });
  worker->Run([&nextJobRan]() -> Worker::Delivery {
    nextJobRan = true;
    return {};
  });
  Sleep(50);  // the first job is running
  const ULONGLONG start = GetTickCount64();
  worker.reset();
  const ULONGLONG destroyed = GetTickCount64() - start;
  EXPECT_LT(destroyed, 100u) << "the worker waited for its thread";
  SetEvent(release.get());
  Sleep(100);
  Pump(50);
  EXPECT_FALSE(nextJobRan) << "a job queued behind the blocked one started after the end";
}

TEST_F(ProgramWindowTest, WorkerLeavesAHangingJobBehindAndDeliversTheNextAndItsLateOne) {
  const UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ThreadWorker worker(program.Deliveries());
  const HANDLE event = release.get();
  std::vector<int> delivered;
  worker.Run([event, &delivered]() -> Worker::Delivery {
    WaitForSingleObject(event, 10000);  // a monitor that answers late
    return [&delivered] { delivered.push_back(1); };
  });
  Sleep(50);  // the first job is running
  worker.LeaveBehind();
  worker.Run([&delivered]() -> Worker::Delivery { return [&delivered] { delivered.push_back(2); }; });
  Pump(300);
  EXPECT_EQ(delivered, (std::vector<int>{2})) << "the next job waited for the one hanging";
  SetEvent(release.get());
  Sleep(100);
  Pump(100);
  EXPECT_EQ(delivered, (std::vector<int>{2, 1})) << "the late job's delivery was lost";
}

}  // namespace
}  // namespace lumenor::platform
