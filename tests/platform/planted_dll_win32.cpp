// A DLL that does nothing: planted beside the contract tests under a name no system directory
// holds, so where a load by that name searches shows.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
