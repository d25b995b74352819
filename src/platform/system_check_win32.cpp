#include "platform/system_check_win32.h"

#include <windows.h>

namespace lumenor::platform {

bool ConfirmSupportedWindows() {
  if (GetACP() == CP_UTF8) return true;
  // Wide literals: the box reads right whatever the code page is.
  MessageBoxW(nullptr,
              L"Lumenor 需要 Windows 10 1903 版或更新的 Windows。\n"
              L"这台电脑的 Windows 较旧，界面文字会显示成乱码，所以 Lumenor 不会运行。\n\n"
              L"Lumenor needs Windows 10 version 1903 or later.\n"
              L"This Windows is older and would show garbled text, so Lumenor will not run.",
              L"Lumenor", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  return false;
}

}  // namespace lumenor::platform
