#include "settings/start_with_windows_win32.h"

#include <iterator>
#include <string>

namespace lumenor::settings {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Lumenor";

// "<full path of this lumenor.exe>" /tray; empty when the path is not known.
std::wstring Command() {
  wchar_t path[4096];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  if (length == 0 || length >= std::size(path)) return {};
  std::wstring command(1, L'"');
  command.append(path, length);
  command += L"\" ";
  command += kTrayArgument;
  return command;
}

// The value's text, or nothing when there is none. The key is opened and closed by each call, so
// no registry handle is held.
bool ReadValue(std::wstring& text) {
  wchar_t value[4200];
  DWORD bytes = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr, value,
                   &bytes) != ERROR_SUCCESS) {
    return false;
  }
  text = value;
  return true;
}

}  // namespace

bool StartsWithWindows() {
  std::wstring text;
  return ReadValue(text);
}

bool SetStartWithWindows(bool on) {
  if (!on) {
    const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kValueName);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  const std::wstring command = Command();
  return !command.empty() &&
         RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kValueName, REG_SZ, command.c_str(),
                         static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) ==
             ERROR_SUCCESS;
}

void PointStartWithWindowsHere() {
  std::wstring text;
  if (!ReadValue(text) || text == Command()) return;
  SetStartWithWindows(true);
}

}  // namespace lumenor::settings
