// The one-copy test against a real named mutex: a copy already running is seen also when this one
// may not open its mutex, as when the first copy runs elevated.
#include "platform/single_instance_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace lumenor::platform {
namespace {

TEST(SingleInstance_AnotherCopyRunning, AnswersYesWhenTheMutexIsThereEvenIfItMayNotBeOpened) {
  // A DACL that grants nothing stands in for the mutex of a copy at another integrity level.
  SECURITY_DESCRIPTOR grantsNothing;
  InitializeSecurityDescriptor(&grantsNothing, SECURITY_DESCRIPTOR_REVISION);
  ACL empty;
  InitializeAcl(&empty, sizeof empty, ACL_REVISION);
  SetSecurityDescriptorDacl(&grantsNothing, TRUE, &empty, FALSE);
  SECURITY_ATTRIBUTES otherLevel{sizeof otherLevel, &grantsNothing, FALSE};
  const struct {
    const char* name;
    bool first;
    SECURITY_ATTRIBUTES* firstAttributes;
  } rows[] = {{"no copy", false, nullptr},
              {"a copy of the same level", true, nullptr},
              {"a copy whose mutex this one may not open", true, &otherLevel}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::wstring name = L"Local\\LumenorSingleInstanceTest." + std::to_wstring(&row - rows);
    const UniqueKernelHandle first(
        row.first ? CreateMutexW(row.firstAttributes, FALSE, name.c_str()) : nullptr);
    EXPECT_EQ(SingleInstance(name.c_str()).AnotherCopyRunning(), row.first);
  }
}

}  // namespace
}  // namespace lumenor::platform
