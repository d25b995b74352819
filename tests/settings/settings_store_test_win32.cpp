// lumenor.ini on a real disk under Wine: what is there after a replace in each state the folder
// can be in, and that no temporary file stays behind.
#include "settings/settings_store_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles_win32.h"
#include "settings/program_place_win32.h"

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

// The file held open without sharing, as a sync client or an editor holds it, until `milliseconds`
// have passed (or for good while the holder lives).
class Hold {
 public:
  Hold(const std::wstring& path, DWORD milliseconds)
      : file_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)),
        milliseconds_(milliseconds) {
    if (milliseconds_ != INFINITE) {
      thread_.reset(CreateThread(nullptr, 0, &Hold::LetGo, this, 0, nullptr));
    }
  }
  ~Hold() {
    if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
  }

 private:
  static DWORD WINAPI LetGo(void* self) {
    auto* hold = static_cast<Hold*>(self);
    Sleep(hold->milliseconds_);
    hold->file_.reset();
    return 0;
  }
  platform::UniqueKernelHandle file_;
  DWORD milliseconds_;
  platform::UniqueKernelHandle thread_;
};

TEST(SettingsFileStore_Replace, LeavesTheOldFileOrTheNewOneAndNoTemporaryFile) {
  enum class Start {
    Nothing,
    OldFile,
    ReadOnlyFile,
    FolderNamedLikeTheFile,
    LeftOverTemporary,
    HeldForAMoment,
    HeldThroughout,
  };
  constexpr auto kPatience = std::chrono::milliseconds{1500};
  struct Row {
    const char* name;
    Start start;
    bool userFolder;  // %APPDATA%\Lumenor's stand-in is there to take the file
    StoredStatus read;
    bool replaced;
    const char* inUserFolder;  // then, and what the next run reads
  } rows[] = {
      {"no file yet", Start::Nothing, false, StoredStatus::Missing, true, ""},
      {"an old file", Start::OldFile, false, StoredStatus::Read, true, ""},
      {"a read-only file", Start::ReadOnlyFile, false, StoredStatus::Read, false, ""},
      {"a folder named lumenor.ini", Start::FolderNamedLikeTheFile, false, StoredStatus::Unreadable,
       false, ""},
      {"a write cut off before its rename", Start::LeftOverTemporary, false, StoredStatus::Read,
       true, ""},
      {"a file beside the exe this user cannot write gives way to the user's folder",
       Start::ReadOnlyFile, true, StoredStatus::Read, true, "new"},
      // Held through the read's patience, then through a rename's first tries.
      {"held for a moment", Start::HeldForAMoment, false, StoredStatus::Read, true, ""},
      {"held past the patience", Start::HeldThroughout, false, StoredStatus::Unreadable, true, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::wstring folder = FreshFolder();
    const std::wstring userFolder = row.userFolder ? FreshFolder() : L"";
    const std::wstring file = folder + L"\\lumenor.ini";
    std::optional<Hold> hold;
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
      case Start::HeldForAMoment:
      case Start::HeldThroughout:
        Put(file, "old");
        hold.emplace(file, row.start == Start::HeldThroughout ? 2000 : 700);
        break;
    }
    SettingsFileStore store(folder, userFolder);
    const StoredFile read = store.Read(64 * 1024, kPatience);
    EXPECT_EQ(read.status, row.read);
    if (row.read == StoredStatus::Read) {
      EXPECT_EQ(read.bytes, "old");
    }
    if (row.start == Start::HeldForAMoment) {
      hold.reset();
      Hold again(file, 250);  // the rename's first tries meet the hold
      EXPECT_FALSE(store.Replace("new").has_value());
    }
    hold.reset();
    const bool replaced = row.start == Start::HeldForAMoment || !store.Replace("new").has_value();
    EXPECT_EQ(replaced, row.replaced);
    const bool besideReplaced = replaced && *row.inUserFolder == '\0';
    if (row.start != Start::FolderNamedLikeTheFile) {
      EXPECT_EQ(Contents(file), besideReplaced ? "new" : "old");
    }
    EXPECT_EQ(Names(folder), std::vector<std::wstring>{L"lumenor.ini"})
        << "a temporary file stayed";
    if (row.userFolder) {
      EXPECT_EQ(Contents(userFolder + L"\\lumenor.ini"), row.inUserFolder);
      EXPECT_EQ(SettingsFileStore(folder, userFolder).Read(64 * 1024, kPatience).bytes,
                row.inUserFolder)
          << "the next run reads another file";
      DeleteFileW((userFolder + L"\\lumenor.ini").c_str());
      RemoveDirectoryW(userFolder.c_str());
    }
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
    RemoveDirectoryW(file.c_str());
    RemoveDirectoryW(folder.c_str());
  }
}

TEST(ProgramPlace_IsUnderTemporaryFolder, HoldsForTheTemporaryFolderAndWhatLiesUnderItOnly) {
  wchar_t temporary[MAX_PATH + 1];
  ASSERT_GT(GetTempPathW(MAX_PATH + 1, temporary), 0u);
  const std::wstring base(temporary);  // with its trailing backslash
  const std::wstring zip = base + L"Temp1_lumenor-win64.zip";
  CreateDirectoryW(zip.c_str(), nullptr);
  wchar_t shortName[MAX_PATH];
  const DWORD shortLength = GetShortPathNameW(zip.c_str(), shortName, MAX_PATH);
  std::wstring upper = zip;
  CharUpperW(upper.data());
  const struct {
    const char* name;
    std::wstring folder;
    bool under;
  } rows[] = {
      {"the temporary folder", base, true},
      {"a zip's folder under it", zip, true},
      {"in capitals", upper, true},
      {"by its short name", std::wstring(shortName, shortLength), true},
      {"a sibling that starts alike", base.substr(0, base.size() - 1) + L"2", false},
      {"the Windows folder", L"C:\\windows", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(IsUnderTemporaryFolder(row.folder), row.under);
  }
  RemoveDirectoryW(zip.c_str());
}

}  // namespace
}  // namespace lumenor::settings
