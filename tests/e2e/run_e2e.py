#!/usr/bin/env python3
"""Runs the desktop scenarios (tests/e2e/test_*.py) against the real lumenor.exe.

Run inside scripts/headless-desktop, which provides DISPLAY (Xorg with the dummy driver and picom)
and a fresh WINEPREFIX:

  scripts/headless-desktop python3 tests/e2e/run_e2e.py --exe build/windows/src/lumenor.exe \\
      --probe build/windows/tests/e2e/lumenor_probe.exe --out /tmp/e2e [-k PATTERN]

Screenshots and the program's logs go to --out.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import lumenor_e2e  # noqa: E402


def check_desktop():
    problems = []
    if not os.environ.get("DISPLAY"):
        problems.append("DISPLAY is not set")
    if not os.environ.get("WINEPREFIX"):
        problems.append("WINEPREFIX is not set")
    for tool in ("wine", "wineserver", "xdotool", "import", "convert", "xrandr", "xdpyinfo"):
        if shutil.which(tool) is None:
            problems.append("'%s' is missing (scripts/install-deps installs it)" % tool)
    if not problems and subprocess.run(["xdpyinfo"], capture_output=True).returncode != 0:
        problems.append("the X display %s does not answer" % os.environ["DISPLAY"])
    if problems:
        sys.exit("e2e: the desktop scenarios need the headless desktop: run them as\n"
                 "  scripts/headless-desktop python3 tests/e2e/run_e2e.py --exe ... --probe ... "
                 "--out ...\n(%s)" % "; ".join(problems))


def prepare_prefix():
    # Without a window manager nothing draws the windows' captions; let Wine draw them itself so
    # the caption and its close box are there to see and to click.
    subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated",
                    "/t", "REG_SZ", "/d", "N", "/f"], capture_output=True, check=True)
    subprocess.run(["wineserver", "-w"], capture_output=True)


def leftover_programs():
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                cmd = f.read().decode("utf-8", "replace")
            with open("/proc/%s/environ" % entry, "rb") as f:
                env = f.read().decode("utf-8", "replace")
        except OSError:
            continue
        if ("lumenor-e2e-" in cmd and "lumenor.exe" in cmd
                and "WINEPREFIX=%s" % os.environ["WINEPREFIX"] in env.split("\0")):
            pids.append(int(entry))
    return pids


def end_leftovers():
    """No lumenor.exe of this run may outlive it: kill by process id, and only if that fails end
    the prefix's wineserver."""
    pids = leftover_programs()
    for pid in pids:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    time.sleep(0.5)
    if leftover_programs():
        print("e2e: lumenor.exe would not end; stopping the prefix's wineserver", file=sys.stderr)
        subprocess.run(["wineserver", "-k"], capture_output=True)
    return pids


def each_once(suite):
    """The scenarios found, each once: a module that imports another's scenario class to borrow its
    helpers would otherwise have the loader find that class's scenarios in it too, and run them
    twice."""
    unique, seen = unittest.TestSuite(), set()

    def walk(tests):
        for test in tests:
            if isinstance(test, unittest.TestSuite):
                walk(test)
            elif test.id() not in seen:
                seen.add(test.id())
                unique.addTest(test)
    walk(suite)
    return unique


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--exe", required=True, help="lumenor.exe to test")
    parser.add_argument("--probe", required=True, help="lumenor_probe.exe")
    parser.add_argument("--out", required=True, help="directory for screenshots and logs")
    parser.add_argument("--suite", default="test", choices=("test", "soak"),
                        help="the scenarios to run: test_*.py (the default run) or soak_*.py "
                             "(the long run)")
    parser.add_argument("-k", dest="patterns", action="append",
                        help="run only scenarios whose name contains this text")
    args = parser.parse_args()

    check_desktop()
    for path in (args.exe, args.probe):
        if not os.path.isfile(path):
            sys.exit("e2e: %s does not exist; build the windows preset first" % path)
    cfg = lumenor_e2e.configure(args.exe, args.probe, args.out)
    for name in os.listdir(cfg.out):  # the screenshots and logs of an earlier run
        if name.endswith(".png") or (name.startswith("lumenor-") and name.endswith(".log")):
            os.unlink(os.path.join(cfg.out, name))
    prepare_prefix()
    # One idle probe keeps the prefix's wineserver and desktop process up for the whole run, so
    # each short probe run starts in milliseconds instead of booting them again.
    # Wine processes that start while the wineserver is still booting can hang, so the keeper is
    # up before anything else starts.
    keeper = lumenor_e2e.Holder(["wine", cfg.probe, "idle", "3600"])
    try:
        keeper.first_report()
    except AssertionError as e:
        sys.exit("e2e: lumenor_probe does not start under Wine: %s" % e)

    loader = unittest.TestLoader()
    if args.patterns:
        loader.testNamePatterns = ["*%s*" % p for p in args.patterns]
    suite = each_once(loader.discover(HERE, pattern="%s_*.py" % args.suite, top_level_dir=HERE))
    started = time.monotonic()
    try:
        result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    finally:
        keeper.stop()
        killed = end_leftovers()
        if killed:
            print("e2e: ended lumenor.exe left running by a scenario: pids %s" % killed)
    print("e2e: %d scenarios in %.0f s; screenshots in %s"
          % (result.testsRun, time.monotonic() - started, args.out))
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
