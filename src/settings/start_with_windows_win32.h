#pragma once
// "开机启动": the value Lumenor under HKCU\Software\Microsoft\Windows\CurrentVersion\Run, holding
// "<full path of this lumenor.exe>" /tray. Nothing is written unless the user asks, except that a
// value naming another path (the folder was moved) is pointed at this exe. A copy running from
// under the temporary directory (out of a zip) never writes the value: Windows deletes that copy.
// Task Manager's and Settings' switch for startup apps is honoured: the value it keeps under
// ...\Explorer\StartupApproved\Run says whether the user disabled Lumenor there.
#include <windows.h>

namespace lumenor::settings {

inline constexpr wchar_t kTrayArgument[] = L"/tray";

// The Run value is there and the user has not disabled it among the startup apps.
bool StartsWithWindows();
// Writes or removes the value, and enables Lumenor among the startup apps when it is turned on;
// false when the registry refused or this copy runs from under the temporary directory.
bool SetStartWithWindows(bool on);
// A value that names another exe is made to name this one.
void PointStartWithWindowsHere();

}  // namespace lumenor::settings
