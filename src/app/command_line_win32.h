#pragma once
// The command line's two Win32 ends in the starting process: handing a command to the copy that
// runs, and saying the usage text where the one who typed the command sees it.
#include <windows.h>

#include "app/command_line.h"

namespace lumenor::app {

// The words after the program's name, as wWinMain has them.
std::optional<Command> ParseCommandLine(const wchar_t* words);

// Sends the command to the running copy's tray window and answers the process's exit code:
// kExitDone when it took it, kExitNoAnswer when it did not answer within 5 s (a copy still
// starting has that long to make its window), kExitBadCommand when it refused it.
int HandToRunningCopy(const Command& command);

// The usage text to the standard output when it goes to a file or a pipe, else to the console the
// program was started from, else in a message box.
void ShowUsage();

}  // namespace lumenor::app
