// The one-copy test against the real named mutex: a copy already running is seen whether its mutex
// can be opened or, as with an elevated first copy, this one may not open it.
#include "platform/single_instance_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace lumenor::platform {
namespace {

TEST(SingleInstance_AnotherCopyRunning, AnswersYesWhenTheMutexIsThereEvenIfItMayNotBeOpened) {
  enum class First { None, SameUser, OtherLevel };
  const struct {
    const char* name;
    First first;
    bool running;
  } rows[] = {
      {"no copy", First::None, false},
      {"a copy of the same user and level", First::SameUser, true},
      {"an elevated copy whose mutex this one may not open", First::OtherLevel, true},
  };
  int count = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::wstring name = L"Local\\LumenorSingleInstanceTest." +
                              std::to_wstring(GetCurrentProcessId()) + L"." +
                              std::to_wstring(++count);
    // A DACL that grants nothing stands in for the mutex of a copy at another integrity level.
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ACL grantsNothing;
    InitializeAcl(&grantsNothing, sizeof grantsNothing, ACL_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, &grantsNothing, FALSE);
    SECURITY_ATTRIBUTES denied{sizeof denied, &descriptor, FALSE};
    const UniqueKernelHandle first(
        row.first == First::None
            ? nullptr
            : CreateMutexW(row.first == First::OtherLevel ? &denied : nullptr, FALSE, name.c_str()));
    EXPECT_EQ(SingleInstance(name.c_str()).AnotherCopyRunning(), row.running);
  }
}

}  // namespace
}  // namespace lumenor::platform
