// lumenor.ini on a real disk under Wine: what is there after a replace in each state the folder
// can be in, and that no temporary file stays behind.
#include "settings/settings_store_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace lumenor::settings {
namespace {

std::wstring FreshFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int count = 0;
  const std::wstring dir = std::wstring(base) + L"lumenor-ini-" +
                           std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

void Put(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::string Contents(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<none>";
  char buffer[256];
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

std::vector<std::wstring> Names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

TEST(SettingsFileStore_Replace, LeavesTheOldFileOrTheNewOneAndNoTemporaryFile) {
  enum class Start { Nothing, OldFile, ReadOnlyFile, FolderNamedLikeTheFile, LeftOverTemporary };
  struct Row {
    const char* name;
    Start start;
    StoredStatus read;
    bool replaced;
    std::vector<std::wstring> left;
  } rows[] = {
      {"no file yet", Start::Nothing, StoredStatus::Missing, true, {L"lumenor.ini"}},
      {"an old file", Start::OldFile, StoredStatus::Read, true, {L"lumenor.ini"}},
      {"a read-only file", Start::ReadOnlyFile, StoredStatus::Read, false, {L"lumenor.ini"}},
      {"a folder named lumenor.ini", Start::FolderNamedLikeTheFile, StoredStatus::Unreadable, false,
       {L"lumenor.ini"}},
      {"a write cut off before its rename", Start::LeftOverTemporary, StoredStatus::Read, true,
       {L"lumenor.ini"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::wstring folder = FreshFolder();
    const std::wstring file = folder + L"\\lumenor.ini";
    switch (row.start) {
      case Start::Nothing:
        break;
      case Start::OldFile:
        Put(file, "old");
        break;
      case Start::ReadOnlyFile:
        Put(file, "old");
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
        break;
      case Start::FolderNamedLikeTheFile:
        CreateDirectoryW(file.c_str(), nullptr);
        break;
      case Start::LeftOverTemporary:
        Put(file, "old");
        Put(file + L".tmp", "half of a ne");
        break;
    }
    SettingsFileStore store(folder, L"");
    const StoredFile read = store.Read(64 * 1024);
    EXPECT_EQ(read.status, row.read);
    if (row.read == StoredStatus::Read) {
      EXPECT_EQ(read.bytes, "old");
    }
    const bool replaced = !store.Replace("new").has_value();
    EXPECT_EQ(replaced, row.replaced);
    if (row.start != Start::FolderNamedLikeTheFile) {
      EXPECT_EQ(Contents(file), replaced ? "new" : "old");
    }
    EXPECT_EQ(Names(folder), row.left);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
    RemoveDirectoryW(file.c_str());
    RemoveDirectoryW(folder.c_str());
  }
}

}  // namespace
}  // namespace lumenor::settings
