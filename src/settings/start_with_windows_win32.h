#pragma once
// "开机启动": the value Lumenor under HKCU\Software\Microsoft\Windows\CurrentVersion\Run, holding
// "<full path of this lumenor.exe>" /tray. Nothing is written unless the user asks, except that a
// value naming another path (the folder was moved) is pointed at this exe.
#include <windows.h>

namespace lumenor::settings {

inline constexpr wchar_t kTrayArgument[] = L"/tray";

bool StartsWithWindows();
// Writes or removes the value; false when the registry refused.
bool SetStartWithWindows(bool on);
// A value that names another exe is made to name this one.
void PointStartWithWindowsHere();

}  // namespace lumenor::settings
