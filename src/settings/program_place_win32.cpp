#include "settings/program_place_win32.h"

#include <windows.h>

#include "platform/program_files_win32.h"

namespace lumenor::settings {

namespace {

// The full, long form of a path, ending in a backslash; empty when the system knows none.
std::wstring Normalised(const std::wstring& path) {
  if (path.empty()) return {};
  std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
  if (full.empty()) return {};
  full.resize(GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(),
                               nullptr));
  // The long name needs the path to exist; one that does not is compared as it is.
  if (const DWORD needed = GetLongPathNameW(full.c_str(), nullptr, 0); needed > 0) {
    std::wstring longer(needed, L'\0');
    const DWORD length =
        GetLongPathNameW(full.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    if (length > 0 && length < longer.size()) full.assign(longer.data(), length);
  }
  if (!full.empty() && full.back() != L'\\') full += L'\\';
  return full;
}

}  // namespace

bool IsUnderTemporaryFolder(const std::wstring& folder) {
  wchar_t temporary[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
  if (length == 0 || length > MAX_PATH) return false;
  const std::wstring under = Normalised(temporary);
  const std::wstring candidate = Normalised(folder);
  return !under.empty() && candidate.size() >= under.size() &&
         CompareStringOrdinal(candidate.c_str(), static_cast<int>(under.size()), under.c_str(),
                              static_cast<int>(under.size()), TRUE) == CSTR_EQUAL;
}

bool RunsFromTemporaryFolder() { return IsUnderTemporaryFolder(platform::ModuleDirectory()); }

}  // namespace lumenor::settings
