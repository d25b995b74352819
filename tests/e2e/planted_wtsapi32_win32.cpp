// A wtsapi32.dll as someone might plant it beside lumenor.exe: when any process loads it, it
// leaves planted-dll-ran.txt beside itself, holding the path of the program that loaded it. It
// exports the session-notification pair, so a program that imports them from WTSAPI32.dll loads
// it without complaint.
#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kMarker[] = L"planted-dll-ran.txt";

class OwnedFile {
 public:
  explicit OwnedFile(const wchar_t* path)
      : file_(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr)) {}
  ~OwnedFile() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;
  HANDLE get() const { return file_; }

 private:
  HANDLE file_;
};

void LeaveMarker(HINSTANCE self) {
  wchar_t path[MAX_PATH + 32] = {};
  const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  wchar_t* slash = std::wcsrchr(path, L'\\');
  if (slash == nullptr) return;
  std::wcscpy(slash + 1, kMarker);
  OwnedFile marker(path);
  if (marker.get() == INVALID_HANDLE_VALUE) return;
  wchar_t program[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
  DWORD written = 0;
  WriteFile(marker.get(), program, length * sizeof(wchar_t), &written, nullptr);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI WTSRegisterSessionNotification(HWND, DWORD) {
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI WTSUnRegisterSessionNotification(HWND) {
  return TRUE;
}
