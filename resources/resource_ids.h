#pragma once
// Resource identifiers shared by lumenor.rc and the shell.
#define IDI_LUMENOR 101
