#pragma once
// Where DLLs loaded by name come from: the system directory only, never the directory of a
// downloaded exe (where anything may have been saved beside it) or the working directory.
#include <windows.h>

namespace lumenor::platform {

// Call first thing in wWinMain; it holds for the rest of the process.
inline bool LoadDllsFromSystemDirectoryOnly() noexcept {
  return SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

}  // namespace lumenor::platform
