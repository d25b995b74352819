#include "settings/settings_store_win32.h"

#include "platform/handles_win32.h"
#include "platform/program_files_win32.h"
#include "platform/text_win32.h"

namespace lumenor::settings {

namespace {

using platform::UniqueKernelHandle;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string LastErrorText() {
  std::string text = platform::SystemErrorText(GetLastError());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

SettingsFileStore::SettingsFileStore(std::wstring besideProgram, std::wstring perUser)
    : besideProgram_(std::move(besideProgram)), perUser_(std::move(perUser)) {}

SettingsFileStore SettingsFileStore::ForThisProgram() {
  std::wstring appData(MAX_PATH, L'\0');
  const DWORD length =
      GetEnvironmentVariableW(L"APPDATA", appData.data(), static_cast<DWORD>(appData.size()));
  appData.resize(length > 0 && length < appData.size() ? length : 0);
  return SettingsFileStore(platform::ModuleDirectory(),
                           appData.empty() ? std::wstring{} : appData + L"\\Lumenor");
}

StoredFile SettingsFileStore::Read(std::size_t maxBytes) {
  StoredFile file;
  for (const std::wstring* folder : {&besideProgram_, &perUser_}) {
    if (!folder->empty() && Exists(PathIn(*folder))) {
      home_ = *folder;
      break;
    }
  }
  if (home_.empty()) return file;
  UniqueKernelHandle handle(CreateFileW(PathIn(home_).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (handle == nullptr || !GetFileSizeEx(handle.get(), &size)) {
    file.status = StoredStatus::Unreadable;
    file.reason = LastErrorText();
    return file;
  }
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    file.status = StoredStatus::TooLarge;
    return file;
  }
  file.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!file.bytes.empty() && (!ReadFile(handle.get(), file.bytes.data(),
                                        static_cast<DWORD>(file.bytes.size()), &read, nullptr) ||
                              read != file.bytes.size())) {
    file.status = StoredStatus::Unreadable;
    file.reason = LastErrorText();
    file.bytes.clear();
    return file;
  }
  file.status = StoredStatus::Read;
  return file;
}

bool SettingsFileStore::KeepAsBad() {
  if (home_.empty()) return false;
  const std::wstring path = PathIn(home_);
  return MoveFileExW(path.c_str(), (path + L".bad").c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::optional<std::string> SettingsFileStore::Replace(std::string_view bytes) {
  if (!home_.empty()) return ReplaceIn(home_, bytes);
  // No file yet: beside the program when that folder takes it, else the user's own folder.
  std::optional<std::string> failure = ReplaceIn(besideProgram_, bytes);
  if (!failure) {
    home_ = besideProgram_;
    return failure;
  }
  if (perUser_.empty()) return failure;
  CreateDirectoryW(perUser_.c_str(), nullptr);  // there already is as good
  failure = ReplaceIn(perUser_, bytes);
  if (!failure) home_ = perUser_;
  return failure;
}

std::optional<std::string> SettingsFileStore::ReplaceIn(const std::wstring& folder,
                                                       std::string_view bytes) {
  if (folder.empty()) return std::string("没有可写的文件夹");
  const std::wstring path = PathIn(folder);
  // A file the user made read-only is theirs to keep (Wine would replace it; Windows refuses),
  // and a folder of that name cannot take a file: nothing is made beside either.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return LastErrorText();
  }
  const std::wstring temporary = path + L".tmp";
  std::optional<std::string> failure;
  {
    UniqueKernelHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file == nullptr) return LastErrorText();  // nothing was made
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file.get())) {
      failure = LastErrorText();
    }
  }  // closed before the move
  if (!failure && !MoveFileExW(temporary.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    failure = LastErrorText();
  }
  if (failure) DeleteFileW(temporary.c_str());
  return failure;
}

std::string SettingsFileStore::Where() const {
  return platform::Utf8(PathIn(home_.empty() ? besideProgram_ : home_));
}

}  // namespace lumenor::settings
