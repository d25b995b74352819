#!/usr/bin/env python3
"""Fails when lumenor.exe's import tables name a DLL beyond the system's own that it may import.

Windows takes KnownDLLs from the system directory only; any other DLL an exe imports is looked for
beside the exe first, where someone may have saved one of that name. A DLL delay-loaded through
MinGW's dlltool appears in no table (ld leaves the delay-import directory empty) and is loaded by
bare name: the planted-DLL desktop scenario catches that case.

    check_imports.py OBJDUMP EXE
"""

import re
import subprocess
import sys

ALLOWED = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "msvcrt.dll", "comctl32.dll",
           "advapi32.dll"}


def main():
    objdump, exe = sys.argv[1], sys.argv[2]
    headers = subprocess.run([objdump, "-p", exe], capture_output=True, text=True,
                             check=True).stdout
    names = re.findall(r"DLL Name: (\S+)", headers)
    others = [name for name in names if name.lower() not in ALLOWED]
    print("imports " + ", ".join(names))
    for name in others:
        print(f"FAIL: {exe} imports {name}, which Windows looks for beside the program first; "
              f"load it at run time from the system directory")
    if not names:
        print(f"FAIL: no import table read from {exe}")
    return 1 if others or not names else 0


if __name__ == "__main__":
    sys.exit(main())
