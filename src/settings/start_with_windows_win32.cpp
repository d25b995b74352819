#include "settings/start_with_windows_win32.h"

#include <cwchar>
#include <string>

#include "platform/handles_win32.h"

namespace lumenor::settings {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Lumenor";

struct RegistryKeyCloser {
  void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueRegistryKey = platform::UniqueHandle<HKEY, RegistryKeyCloser>;

UniqueRegistryKey OpenRunKey(REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, access, &key) != ERROR_SUCCESS) return {};
  return UniqueRegistryKey(key);
}

std::wstring ThisExe() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

std::wstring Command() {
  return L"\"" + ThisExe() + L"\" " + kTrayArgument;
}

// The value's text, or nothing when there is none.
bool ReadValue(std::wstring& text) {
  UniqueRegistryKey key = OpenRunKey(KEY_QUERY_VALUE);
  if (key == nullptr) return false;
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key.get(), kValueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) {
    return false;
  }
  text.assign(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key.get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                       &bytes) != ERROR_SUCCESS) {
    return false;
  }
  text.resize(wcsnlen(text.c_str(), text.size()));
  return true;
}

}  // namespace

bool AsksForTray(const wchar_t* commandLine) {
  if (commandLine == nullptr) return false;
  const std::size_t length = wcslen(kTrayArgument);
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  for (const wchar_t* at = commandLine; *at != L'\0'; ++at) {
    if ((at == commandLine || blank(at[-1])) && _wcsnicmp(at, kTrayArgument, length) == 0 &&
        (at[length] == L'\0' || blank(at[length]))) {
      return true;
    }
  }
  return false;
}

bool StartsWithWindows() {
  std::wstring text;
  return ReadValue(text);
}

bool SetStartWithWindows(bool on) {
  UniqueRegistryKey key = OpenRunKey(KEY_SET_VALUE);
  if (key == nullptr) return false;
  if (!on) {
    const LSTATUS status = RegDeleteValueW(key.get(), kValueName);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  const std::wstring command = Command();
  return RegSetValueExW(key.get(), kValueName, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(command.c_str()),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void PointStartWithWindowsHere() {
  std::wstring text;
  if (!ReadValue(text) || text == Command()) return;
  SetStartWithWindows(true);
}

}  // namespace lumenor::settings
