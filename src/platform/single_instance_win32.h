#pragma once
// The program's one-copy test: a named mutex taken when the program starts and held for its whole
// life. The first answer stands for the process, so the main window may be loaded again after its
// close box and this copy still counts as the first. A copy that runs elevated while this one does
// not (or the other way round) holds a mutex this one may not open: CreateMutexW then answers null
// with ERROR_ACCESS_DENIED, and that copy runs all the same.
#include <windows.h>

#include "platform/handles_win32.h"

namespace lumenor::platform {

class SingleInstance {
 public:
  explicit SingleInstance(const wchar_t* name)
      : mutex_(CreateMutexW(nullptr, FALSE, name)),
        anotherCopyRunning_(GetLastError() ==
                            (mutex_ == nullptr ? ERROR_ACCESS_DENIED : ERROR_ALREADY_EXISTS)) {}

  bool AnotherCopyRunning() const { return anotherCopyRunning_; }

 private:
  UniqueKernelHandle mutex_;
  bool anotherCopyRunning_;
};

}  // namespace lumenor::platform
