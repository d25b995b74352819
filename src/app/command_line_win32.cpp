#include "app/command_line_win32.h"

#include <string>

#include "platform/dialogs_win32.h"
#include "platform/handles_win32.h"
#include "platform/text_win32.h"
#include "tray/tray_form_win32.h"

namespace lumenor::app {
namespace {

constexpr ULONGLONG kAnswerWithinMs = 5000;
constexpr DWORD kLookAgainMs = 50;  // while the running copy is still making its tray window

bool WriteAll(HANDLE out, const void* data, DWORD bytes, bool console) {
  DWORD written = 0;
  if (console) {
    return WriteConsoleW(out, data, bytes / sizeof(wchar_t), &written, nullptr) != FALSE;
  }
  return WriteFile(out, data, bytes, &written, nullptr) != FALSE && written == bytes;
}

}  // namespace

std::optional<Command> ParseCommandLine(const wchar_t* words) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  if (words == nullptr) return Command{};
  return ParseCommandLine(std::u16string_view(reinterpret_cast<const char16_t*>(words)));
}

int HandToRunningCopy(const Command& command) {
  CommandText text = TextOf(command);
  COPYDATASTRUCT data{static_cast<ULONG_PTR>(kCommandTag),
                      static_cast<DWORD>(text.size * sizeof(char16_t)), text.units.data()};
  const ULONGLONG deadline = GetTickCount64() + kAnswerWithinMs;
  HWND tray = nullptr;
  while ((tray = FindWindowW(tray::kTrayFormClass, nullptr)) == nullptr) {
    if (GetTickCount64() >= deadline) return kExitNoAnswer;
    Sleep(kLookAgainMs);
  }
  // "/show" brings the main window in front: Windows lets it because this start allows it.
  DWORD process = 0;
  GetWindowThreadProcessId(tray, &process);
  if (process != 0) AllowSetForegroundWindow(process);
  const ULONGLONG now = GetTickCount64();
  const UINT timeout = static_cast<UINT>(deadline > now ? deadline - now : 1);
  DWORD_PTR taken = FALSE;
  if (SendMessageTimeoutW(tray, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                          SMTO_NORMAL | SMTO_ERRORONEXIT, timeout, &taken) == 0) {
    return kExitNoAnswer;
  }
  return taken != FALSE ? kExitDone : kExitBadCommand;
}

void ShowUsage() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  const DWORD type = out != nullptr && out != INVALID_HANDLE_VALUE ? GetFileType(out)
                                                                    : FILE_TYPE_UNKNOWN;
  if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
    if (WriteAll(out, kUsageText.data(), static_cast<DWORD>(kUsageText.size()), false)) return;
  }
  // A windowed program has no console of its own; the one of the command prompt that started it
  // can be borrowed. The prompt is back already, so the text starts on a line of its own.
  if (AttachConsole(ATTACH_PARENT_PROCESS) != FALSE) {
    const platform::UniqueKernelHandle console(CreateFileW(
        L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, 0, nullptr));
    const std::wstring text = L"\r\n" + platform::Utf16(kUsageText);
    const bool said = console.get() != INVALID_HANDLE_VALUE &&
                      WriteAll(console.get(), text.data(),
                               static_cast<DWORD>(text.size() * sizeof(wchar_t)), true);
    FreeConsole();
    if (said) return;
  }
  platform::MessageBoxDialogs().ShowMessage(kUsageText, platform::kProgramTitle,
                                            platform::MessageIcon::None);
}

}  // namespace lumenor::app
