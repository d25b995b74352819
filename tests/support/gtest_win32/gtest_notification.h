#pragma once
// GoogleTest's Notification for the win32 threading model. That model's runtime (GCC 12) has no
// std::mutex or std::condition_variable, the only things GoogleTest needs them for; everything else
// it takes from Windows itself. Forced into every file that builds GoogleTest or uses it.

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

// A manual-reset event: one thread waits until another says go.
class Notification {
 public:
  Notification();
  ~Notification();
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify();
  void WaitForNotification();

 private:
  void* event_;
};

}  // namespace testing::internal
