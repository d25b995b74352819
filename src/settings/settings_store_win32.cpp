#include "settings/settings_store_win32.h"

#include "platform/handles_win32.h"
#include "platform/program_files_win32.h"
#include "platform/text_win32.h"
#include "settings/program_place_win32.h"

namespace lumenor::settings {

namespace {

using platform::UniqueKernelHandle;

constexpr DWORD kShareEverything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A held file is looked at again this often; a held move is tried this many times, about half a
// second in all.
constexpr DWORD kTryAgainMilliseconds = 100;
constexpr int kMoveTries = 6;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ErrorText(DWORD error) {
  std::string text = platform::SystemErrorText(error);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

// Another program has the file open without sharing it, or has locked a part of it.
bool HeldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// This user may read the file but not write it: read-only, or refused outright (the file of an
// elevated run in a protected folder).
bool RefusesWriting(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return true;
  const UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, kShareEverything, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.get() == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
}

// One look at the file; `error` says why it was Unreadable.
StoredFile ReadOnce(const std::wstring& path, std::size_t maxBytes, DWORD& error) {
  StoredFile file;
  const UniqueKernelHandle handle(CreateFileW(path.c_str(), GENERIC_READ, kShareEverything, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  DWORD read = 0;
  if (handle.get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle.get(), &size)) {
    file.status = StoredStatus::Unreadable;
  } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    file.status = StoredStatus::TooLarge;
    return file;
  } else {
    file.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    file.status = StoredStatus::Read;
    if (file.bytes.empty() || (ReadFile(handle.get(), file.bytes.data(),
                                        static_cast<DWORD>(file.bytes.size()), &read, nullptr) &&
                               read == file.bytes.size())) {
      return file;
    }
    file.status = StoredStatus::Unreadable;
    file.bytes.clear();
  }
  error = GetLastError();
  file.reason = ErrorText(error);
  return file;
}

// MoveFileExW that waits a moment for a virus scanner, an indexer or a sync client holding either
// file; the last error on failure.
std::optional<DWORD> MoveOver(const std::wstring& from, const std::wstring& to) {
  for (int tries = 1;; ++tries) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return std::nullopt;
    }
    const DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || tries == kMoveTries) {
      return error;
    }
    Sleep(kTryAgainMilliseconds);
  }
}

}  // namespace

SettingsFileStore::SettingsFileStore(std::wstring besideProgram, std::wstring perUser)
    : perUserFolder_(std::move(perUser)) {
  if (!besideProgram.empty()) files_[0] = besideProgram + L"\\" + kFileName;
  if (!perUserFolder_.empty()) files_[1] = perUserFolder_ + L"\\" + kFileName;
}

SettingsFileStore SettingsFileStore::ForThisProgram() {
  wchar_t appData[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
  // A copy Explorer runs out of a zip lives in a folder Windows deletes later.
  return SettingsFileStore(
      RunsFromTemporaryFolder() ? std::wstring{} : platform::ModuleDirectory(),
      length > 0 && length < MAX_PATH ? std::wstring(appData) + L"\\Lumenor" : std::wstring{});
}

StoredFile SettingsFileStore::Read(std::size_t maxBytes, std::chrono::milliseconds patience) {
  // Beside the program wins, unless this user cannot write that file and the user's folder holds
  // the one that took its place.
  const bool besideRefuses = !files_[0].empty() && RefusesWriting(files_[0]);
  home_ = -1;
  for (const int place : {besideRefuses ? 1 : 0, besideRefuses ? 0 : 1}) {
    if (!files_[place].empty() && Exists(files_[place])) {
      home_ = place;
      break;
    }
  }
  if (home_ < 0) return {};
  const ULONGLONG giveUp = GetTickCount64() + static_cast<ULONGLONG>(patience.count());
  for (;;) {
    DWORD error = ERROR_SUCCESS;
    StoredFile file = ReadOnce(files_[home_], maxBytes, error);
    if (file.status != StoredStatus::Unreadable || !HeldByAnother(error) ||
        GetTickCount64() >= giveUp) {
      return file;
    }
    Sleep(kTryAgainMilliseconds);
  }
}

bool SettingsFileStore::KeepAsBad() {
  return home_ >= 0 && !MoveOver(files_[home_], files_[home_] + L".bad");
}

std::optional<std::string> SettingsFileStore::Replace(std::string_view bytes) {
  const int first = home_ >= 0 ? home_ : 0;
  std::optional<Failure> failure = ReplaceAt(first, bytes);
  // No file yet and the folder beside the program refused one, or the file there is not this
  // user's to write: the user's own folder takes it, starting from what the file held.
  if (failure && first == 0 && (home_ < 0 || failure->error == ERROR_ACCESS_DENIED) &&
      !ReplaceInUserFolder(bytes)) {
    failure.reset();
  }
  return failure ? std::optional<std::string>(std::move(failure->text)) : std::nullopt;
}

std::optional<SettingsFileStore::Failure> SettingsFileStore::ReplaceInUserFolder(
    std::string_view bytes) {
  if (files_[1].empty()) return Failure{ERROR_PATH_NOT_FOUND, "没有可写的文件夹"};
  CreateDirectoryW(perUserFolder_.c_str(), nullptr);  // there already is as good
  return ReplaceAt(1, bytes);
}

std::optional<SettingsFileStore::Failure> SettingsFileStore::ReplaceAt(int place,
                                                                       std::string_view bytes) {
  const std::wstring& path = files_[place];
  if (path.empty()) return Failure{ERROR_PATH_NOT_FOUND, "没有可写的文件夹"};
  // A file the user made read-only is theirs to keep (Wine would replace it; Windows refuses),
  // and a folder of that name cannot take a file: nothing is made beside either.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return Failure{ERROR_ACCESS_DENIED, ErrorText(ERROR_ACCESS_DENIED)};
  }
  const std::wstring temporary = path + L".tmp";
  DWORD error = ERROR_SUCCESS;
  {
    const UniqueKernelHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
      error = GetLastError();
      return Failure{error, ErrorText(error)};  // nothing was made
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file.get())) {
      error = GetLastError();
      if (error == ERROR_SUCCESS) error = ERROR_WRITE_FAULT;  // a short write says nothing
    }
  }  // closed before the move
  if (error == ERROR_SUCCESS) error = MoveOver(temporary, path).value_or(ERROR_SUCCESS);
  if (error != ERROR_SUCCESS) {
    DeleteFileW(temporary.c_str());
    return Failure{error, ErrorText(error)};
  }
  home_ = place;
  return std::nullopt;
}

std::string SettingsFileStore::Where() const {
  return platform::Utf8(files_[home_ >= 0 ? home_ : files_[0].empty() ? 1 : 0]);
}

}  // namespace lumenor::settings
