#include "settings/start_with_windows_win32.h"

#include <iterator>
#include <string>

#include "settings/program_place_win32.h"

namespace lumenor::settings {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Lumenor";
// A binary value named like the Run value; an odd first byte means the user disabled it.
constexpr wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

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
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  text = value;
  return true;
}

bool DisabledAmongStartupApps() {
  BYTE value[64];
  DWORD bytes = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, kApprovedKey, kValueName, RRF_RT_REG_BINARY, nullptr,
                      value, &bytes) == ERROR_SUCCESS &&
         bytes > 0 && (value[0] & 1) != 0;
}

}  // namespace

bool StartsWithWindows() {
  std::wstring text;
  return ReadValue(text) && !DisabledAmongStartupApps();
}

bool SetStartWithWindows(bool on) {
  if (RunsFromTemporaryFolder()) return false;
  if (!on) {
    const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kValueName);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  const std::wstring command = Command();
  if (command.empty() ||
      RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kValueName, REG_SZ, command.c_str(),
                      static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) !=
          ERROR_SUCCESS) {
    return false;
  }
  // Enabled again by deleting the disabling value rather than writing the enabled form (first
  // byte 2): an app never switched there has no value and counts as enabled, and the switch's
  // own form carries the time it was flipped, which this would have to make up.
  if (!DisabledAmongStartupApps()) return true;
  const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kApprovedKey, kValueName);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

void PointStartWithWindowsHere() {
  if (RunsFromTemporaryFolder()) return;
  std::wstring text;
  if (!ReadValue(text) || text == Command()) return;
  SetStartWithWindows(true);
}

}  // namespace lumenor::settings
