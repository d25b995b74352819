#!/usr/bin/env python3
"""Fails on an include that runs against the layers of the program.

Reads every `#include` of the C++ files under a source tree (src/ by default) and reports, as
file:line: text, each one that

  - leads from a folder to one above it in FOLDER_ORDER, so that folders include each other in
    one direction only: platform/ (the seam) lowest, app/ highest; files at the root of the tree
    (the entry point) may include any folder;
  - leads from a file whose name does not end in `_win32` to a `_win32` header or to a Windows
    SDK header, so the portable core would no longer build natively.

Exits 1 when it reports anything. Before it reads the tree it checks itself: it plants each kind
of wrong include in a scratch tree beside allowed ones and exits 2 unless exactly the wrong ones
are reported.
"""

from __future__ import annotations

import argparse
import re
import sys
import tempfile
from pathlib import Path

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
# The folders from the lowest to the highest: each may include its own folder and those before it.
# The displays know nothing of what follows them; the overlays follow the displays; the darkness
# road plans the overlays and the backlights; the settings keep the road's start; the tray shows
# the displays; the main window and the commands (app/) put them all together.
FOLDER_ORDER = ("platform", "display", "overlay", "hotkey", "dimming", "settings", "tray", "app")
# The SDK headers the shell uses; each pulls in <windows.h> or needs it.
WINDOWS_HEADERS = {"windows.h", "commctrl.h", "shellapi.h", "windowsx.h", "winuser.h", "wingdi.h"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def is_win32_file(path: Path) -> bool:
    return path.stem.endswith("_win32")


def wrong_arrow(source: Path, root: Path, bracket: str, target: str) -> str | None:
    """Why this include is forbidden, or None."""
    parts = source.relative_to(root).parts
    target_path = Path(target)
    folder, wanted = parts[0] if len(parts) > 1 else None, target_path.parts[0]
    if bracket == '"' and folder in FOLDER_ORDER and wanted in FOLDER_ORDER:
        if FOLDER_ORDER.index(wanted) > FOLDER_ORDER.index(folder):
            return f"{folder}/ includes {wanted}/, which stands above it"
    if not is_win32_file(source):
        if target_path.stem.endswith("_win32"):
            return "a file without _win32 includes a _win32 header"
        if bracket == "<" and target.lower() in WINDOWS_HEADERS:
            return f"a file without _win32 includes <{target}>"
    return None


def check(root: Path) -> list[str]:
    problems = []
    for source in sorted(p for p in root.rglob("*") if p.suffix in SOURCE_SUFFIXES):
        lines = source.read_text(encoding="utf-8", errors="replace").splitlines()
        for number, line in enumerate(lines, start=1):
            match = INCLUDE.match(line)
            if not match:
                continue
            reason = wrong_arrow(source, root, match.group(1), match.group(2))
            if reason:
                shown = source.relative_to(root.parent)
                problems.append(f"{shown}:{number}: {line.strip()}  [{reason}]")
    return problems


def self_test() -> int:
    planted = {
        "platform/seam.h": ['#include "display/gamma_ramp.h"', '#include "tray/notify_record.h"'],
        "platform/seam_win32.cpp": ['#include "overlay/dim_overlay.h"'],
        "hotkey/core.cpp": ['#include "hotkey/hotkey_control_win32.h"', "#include <windows.h>"],
        "app/core.h": ["#  include <Windows.h>", '#include "platform/text_win32.h"'],
        "dimming/road.cpp": ['#include "app/hotkey_steps.h"', '#include "settings/settings.h"'],
        "tray/form_win32.cpp": ['#include "app/notices.h"'],
        "display/set.h": ['#include "overlay/overlay_set.h"'],
    }
    allowed = {
        "platform/seam.h": ['#include "platform/gamma_ramp_data.h"', "#include <array>"],
        "platform/seam_win32.cpp": ["#include <windows.h>", '#include "platform/seam.h"'],
        "app/form_win32.cpp": ['#include "hotkey/hotkey_control_win32.h"', "#include <commctrl.h>"],
        "app/core.h": ['#include "platform/gamma_device.h"', "// #include <windows.h>"],
        "main_win32.cpp": ['#include "tray/tray_form_win32.h"', '#include "resource_ids.h"'],
        "dimming/road.cpp": ['#include "overlay/overlay_control.h"', '#include "dimming/road.h"'],
        "tray/form_win32.cpp": ['#include "display/display_set.h"', "#include <windows.h>"],
        "app/main.cpp": ['#include "dimming/darkness_road.h"', '#include "tray/tray_icon.h"'],
    }
    with tempfile.TemporaryDirectory() as scratch:
        root = Path(scratch) / "src"
        expected = set()
        for name in planted.keys() | allowed.keys():
            wrong, right = planted.get(name, []), allowed.get(name, [])
            path = root / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text("\n".join(right + wrong) + "\n", encoding="utf-8")
            shown = path.relative_to(root.parent)
            expected |= {f"{shown}:{len(right) + i + 1}" for i in range(len(wrong))}
        reported = {problem.split(": ", 1)[0] for problem in check(root)}
    if reported != expected:
        print("include_check self-test: missed", sorted(expected - reported))
        print("include_check self-test: wrongly reported", sorted(reported - expected))
        return 1
    print(f"include_check self-test: all {len(expected)} planted includes reported, nothing else")
    return 0


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("root", nargs="?", type=Path,
                        default=Path(__file__).resolve().parents[2] / "src")
    args = parser.parse_args()
    if self_test() != 0:
        return 2
    problems = check(args.root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"include_check: {len(problems)} include(s) against the layers under {args.root}")
        return 1
    print(f"include_check: every include under {args.root} follows the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
