// The real files beside the program: wide paths, the size cap, and the program's directory rather
// than the working directory.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/default_ramp_file.h"
#include "platform/program_files_win32.h"

namespace lumenor::platform {
namespace {

std::wstring TempDirectory(const std::wstring& leaf) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring dir = std::wstring(base) + L"lumenor-files-" +
                     std::to_wstring(GetCurrentProcessId()) + L"-" +
                     std::to_wstring(GetTickCount64());
  CreateDirectoryW(dir.c_str(), nullptr);
  if (!leaf.empty()) {
    dir += L"\\" + leaf;
    CreateDirectoryW(dir.c_str(), nullptr);
  }
  return dir;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

std::string StraightRampText() {
  std::string text;
  for (int i = 0; i < display::kRampLevels; ++i) {
    const std::string n = std::to_string(static_cast<std::int16_t>(i * 257));
    text += n + "," + n + "," + n + "\r\n";
  }
  return text;
}

TEST(DirectoryFiles_Read, ReadsDefaultDatInADirectoryWithAChineseName) {
  const std::wstring dir = TempDirectory(L"显示器 默认数据");
  WriteFile(dir + L"\\Default.dat", StraightRampText());
  DirectoryFiles files(dir);

  const app::RampFileOutcome outcome = app::LoadRampFile(files);

  ASSERT_EQ(outcome.status, app::RampFileStatus::Read) << outcome.problem;
  for (int i = 0; i < display::kRampLevels; ++i)
    EXPECT_EQ(outcome.ramp[display::RampIndex(i, 2)], static_cast<std::uint16_t>(i * 257));
}

TEST(DirectoryFiles_Read, NothingOrADirectoryUnderTheNameIsMissing) {
  const std::wstring dir = TempDirectory(L"");
  CreateDirectoryW((dir + L"\\Default.dat").c_str(), nullptr);
  DirectoryFiles files(dir);

  EXPECT_EQ(files.Read("Default.dat", 1024).status, FileReadStatus::Missing);
  EXPECT_EQ(files.Read("absent.dat", 1024).status, FileReadStatus::Missing);
  EXPECT_EQ(DirectoryFiles(dir + L"\\no-such-dir").Read("x", 1024).status, FileReadStatus::Missing);
}

TEST(DirectoryFiles_Read, AFileOverTheCapIsTooLargeAndItsBytesAreNotTaken) {
  const std::wstring dir = TempDirectory(L"");
  WriteFile(dir + L"\\big.dat", std::string(2049, '7'));
  WriteFile(dir + L"\\fits.dat", std::string(2048, '7'));
  DirectoryFiles files(dir);

  const FileContents big = files.Read("big.dat", 2048);
  const FileContents fits = files.Read("fits.dat", 2048);

  EXPECT_EQ(big.status, FileReadStatus::TooLarge);
  EXPECT_EQ(big.size, 2049u);
  EXPECT_TRUE(big.bytes.empty());
  EXPECT_EQ(fits.status, FileReadStatus::Read);
  EXPECT_EQ(fits.bytes.size(), 2048u);
}

TEST(DirectoryFiles_Read, TheDefaultDirectoryIsTheProgramsNotTheWorkingDirectory) {
  const std::string name = "lumenor-beside-" + std::to_string(GetCurrentProcessId()) + ".dat";
  const std::wstring wideName(name.begin(), name.end());
  const std::wstring elsewhere = TempDirectory(L"");
  WriteFile(elsewhere + L"\\" + wideName, "in the working directory");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(elsewhere.c_str());

  DirectoryFiles files;
  const FileContents onlyInWorkingDirectory = files.Read(name, 1024);
  WriteFile(ModuleDirectory() + L"\\" + wideName, "beside the program");
  const FileContents beside = files.Read(name, 1024);
  DeleteFileW((ModuleDirectory() + L"\\" + wideName).c_str());
  SetCurrentDirectoryW(previous);

  EXPECT_EQ(onlyInWorkingDirectory.status, FileReadStatus::Missing);
  EXPECT_EQ(beside.status, FileReadStatus::Read);
  EXPECT_EQ(beside.bytes, "beside the program");
}

}  // namespace
}  // namespace lumenor::platform
