// The start-up's DLL search: after it, a DLL loaded by name comes from the system directory only,
// so one planted beside the exe is not found.
#include "platform/dll_search_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace lumenor::platform {
namespace {

std::wstring SystemDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetSystemDirectoryW(path, MAX_PATH);
  return path;
}

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

TEST(LoadDllsFromSystemDirectoryOnly, DllPlantedBesideTheExeIsNotFoundButSystemOnesAre) {
  constexpr wchar_t kPlanted[] = L"lumenor_planted.dll";  // built beside the tests
  // The plant is there to be found when the exe's directory is searched.
  HMODULE beside = LoadLibraryExW(kPlanted, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
  ASSERT_NE(beside, nullptr) << "lumenor_planted.dll is not beside the test exe";
  FreeLibrary(beside);

  ASSERT_TRUE(LoadDllsFromSystemDirectoryOnly());
  HMODULE byName = LoadLibraryW(kPlanted);
  const DWORD error = GetLastError();
  EXPECT_EQ(byName, nullptr) << "loaded from "
                             << std::string(ModulePath(byName).begin(), ModulePath(byName).end());
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  if (byName != nullptr) FreeLibrary(byName);

  HMODULE system = LoadLibraryW(L"version.dll");
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(
      CompareStringOrdinal(ModulePath(system).c_str(), static_cast<int>(SystemDirectory().size()),
                           SystemDirectory().c_str(), -1, TRUE),
      CSTR_EQUAL)
      << "version.dll did not come from the system directory";
  FreeLibrary(system);
  // The rest of this test process searches as most programs do.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

}  // namespace
}  // namespace lumenor::platform
