#include "platform/program_files_win32.h"

#include "platform/handles_win32.h"
#include "platform/text_win32.h"

namespace lumenor::platform {
namespace {

using UniqueFile = UniqueKernelHandle;

}  // namespace

std::wstring ModuleDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring{} : path.substr(0, slash);
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring DirectoryFiles::PathOf(std::string_view name) const {
  return directory_.empty() ? std::wstring{} : directory_ + L"\\" + Utf16(name);
}

FileContents DirectoryFiles::Read(std::string_view name, std::size_t maxBytes) {
  FileContents contents;
  // No directory known: nothing is beside the program.
  const std::wstring path = PathOf(name);
  if (path.empty() || !FileExists(path)) return contents;  // Missing

  contents.status = FileReadStatus::Unreadable;
  const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return contents;

  // The size decides before anything is read: a huge file is never taken into memory.
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return contents;
  contents.size = static_cast<std::uint64_t>(size.QuadPart);
  if (contents.size > maxBytes) {
    contents.status = FileReadStatus::TooLarge;
    return contents;
  }

  contents.bytes.resize(static_cast<std::size_t>(contents.size));
  std::size_t done = 0;
  while (done < contents.bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(contents.bytes.size() - done);
    if (!ReadFile(file.get(), contents.bytes.data() + done, want, &got, nullptr)) {
      contents.bytes.clear();
      return contents;
    }
    if (got == 0) break;  // the file shrank while it was read
    done += got;
  }
  contents.bytes.resize(done);
  contents.status = FileReadStatus::Read;
  return contents;
}

}  // namespace lumenor::platform
