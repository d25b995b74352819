#pragma once
// Where DLLs loaded by name come from: the system directory only, never the directory of a
// downloaded exe (where anything may have been saved beside it) or the working directory.
#include <windows.h>

namespace lumenor::platform {

// Call first thing in wWinMain; it holds for the rest of the process. Looked up rather than
// imported: Windows 7 without update KB2533623 lacks the call, and the exe must still start there
// to tell the user which Windows it needs. Already-loaded kernel32 is asked, so nothing loads.
inline bool LoadDllsFromSystemDirectoryOnly() noexcept {
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return false;
  const auto set = reinterpret_cast<SetDirectories>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  return set != nullptr && set(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

}  // namespace lumenor::platform
