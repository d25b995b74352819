#pragma once
// Where this copy of lumenor.exe runs from. Double-clicking the exe inside a zip makes Explorer run
// a copy from a folder under the temporary directory (...\Temp\Temp1_<zip name>\) that Windows
// deletes later: nothing lasting (the Run value, a settings file) may point there.
#include <string>

namespace lumenor::settings {

// The folder is the temporary directory or lies under it, compared case-insensitively after both
// paths are made full and long (a short 8.3 name of either still matches).
bool IsUnderTemporaryFolder(const std::wstring& folder);

// This lumenor.exe runs from under the temporary directory.
bool RunsFromTemporaryFolder();

}  // namespace lumenor::settings
