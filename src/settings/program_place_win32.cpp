#include "settings/program_place_win32.h"

#include <windows.h>

#include "platform/program_files_win32.h"

namespace lumenor::settings {

namespace {

// The full, long form of a path, ending in a backslash; empty when the system knows none or it is
// longer than MAX_PATH (the temporary folder never is, and Explorer's copies sit just below it).
std::wstring Normalised(const wchar_t* path) {
  wchar_t full[MAX_PATH];
  wchar_t longer[MAX_PATH];
  const DWORD length = GetFullPathNameW(path, MAX_PATH, full, nullptr);
  if (*path == L'\0' || length == 0 || length >= MAX_PATH) return {};
  // The long name needs the path to exist; one that does not is compared as it is.
  const DWORD longLength = GetLongPathNameW(full, longer, MAX_PATH);
  std::wstring normal = longLength > 0 && longLength < MAX_PATH ? longer : full;
  if (normal.back() != L'\\') normal += L'\\';
  return normal;
}

}  // namespace

bool IsUnderTemporaryFolder(const std::wstring& folder) {
  wchar_t temporary[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
  if (length == 0 || length > MAX_PATH) return false;
  const std::wstring under = Normalised(temporary);
  const std::wstring candidate = Normalised(folder.c_str());
  return !under.empty() && candidate.size() >= under.size() &&
         CompareStringOrdinal(candidate.c_str(), static_cast<int>(under.size()), under.c_str(),
                              static_cast<int>(under.size()), TRUE) == CSTR_EQUAL;
}

bool RunsFromTemporaryFolder() {
  return IsUnderTemporaryFolder(platform::ModuleDirectory());
}

}  // namespace lumenor::settings
