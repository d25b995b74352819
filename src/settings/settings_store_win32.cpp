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
    : perUserFolder_(std::move(perUser)) {
  if (!besideProgram.empty()) files_[0] = besideProgram + L"\\" + kFileName;
  if (!perUserFolder_.empty()) files_[1] = perUserFolder_ + L"\\" + kFileName;
}

SettingsFileStore SettingsFileStore::ForThisProgram() {
  wchar_t appData[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
  return SettingsFileStore(platform::ModuleDirectory(),
                           length > 0 && length < MAX_PATH ? std::wstring(appData) + L"\\Lumenor"
                                                           : std::wstring{});
}

StoredFile SettingsFileStore::Read(std::size_t maxBytes) {
  StoredFile file;
  for (int place = 1; place >= 0; --place) {  // beside the program wins
    if (!files_[place].empty() && Exists(files_[place])) home_ = place;
  }
  if (home_ < 0) return file;
  UniqueKernelHandle handle(CreateFileW(files_[home_].c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (handle == nullptr || !GetFileSizeEx(handle.get(), &size)) {
    file.status = StoredStatus::Unreadable;
    file.reason = LastErrorText();
    return file;
  }
  file.status = StoredStatus::TooLarge;
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return file;
  file.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  file.status = StoredStatus::Read;
  if (!file.bytes.empty() && (!ReadFile(handle.get(), file.bytes.data(),
                                        static_cast<DWORD>(file.bytes.size()), &read, nullptr) ||
                              read != file.bytes.size())) {
    file.status = StoredStatus::Unreadable;
    file.reason = LastErrorText();
    file.bytes.clear();
  }
  return file;
}

bool SettingsFileStore::KeepAsBad() {
  return home_ >= 0 && MoveFileExW(files_[home_].c_str(), (files_[home_] + L".bad").c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::optional<std::string> SettingsFileStore::Replace(std::string_view bytes) {
  if (home_ >= 0) return ReplaceAt(home_, bytes);
  // No file yet: beside the program when that folder takes it, else the user's own folder.
  std::optional<std::string> failure = ReplaceAt(0, bytes);
  if (failure && !files_[1].empty()) {
    CreateDirectoryW(perUserFolder_.c_str(), nullptr);  // there already is as good
    if (std::optional<std::string> second = ReplaceAt(1, bytes); !second) failure.reset();
  }
  return failure;
}

std::optional<std::string> SettingsFileStore::ReplaceAt(int place, std::string_view bytes) {
  const std::wstring& path = files_[place];
  if (path.empty()) return std::string("没有可写的文件夹");
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
  if (failure) {
    DeleteFileW(temporary.c_str());
  } else {
    home_ = place;
  }
  return failure;
}

std::string SettingsFileStore::Where() const {
  return platform::Utf8(files_[home_ >= 0 ? home_ : 0]);
}

}  // namespace lumenor::settings
