"""Installs the simulated DDC/CI monitor (simulated_monitor_win32.cpp, built as dxva2.dll) in the
Wine prefix's system directory and reads what it was told. Shared by the desktop scenarios and
bench/footprint; it needs only WINEPREFIX and the built dll."""

import os
import shutil

# Where the simulated monitor reads its script and leaves its state: C:\lumenor-monitor in the
# prefix.
DIRECTORY = "lumenor-monitor"


class SimulatedMonitors:
    """A simulated monitor behind each display named, installed in the prefix's system directory
    for the programs started with `env`; Wine's own dxva2 (which answers error 120: no backlight)
    is put back by uninstall(). `monitors` maps a display's number (1 for \\\\.\\DISPLAY1) to its
    script, the keys of simulated_monitor_win32.cpp: {1: {"level": 80, "ignore_writes": 1}}.
    `overrides` is the WINEDLLOVERRIDES the programs would otherwise run with."""

    def __init__(self, dll, monitors, overrides=""):
        prefix = os.environ["WINEPREFIX"]
        self.system_dll = os.path.join(prefix, "drive_c", "windows", "system32", "dxva2.dll")
        self.directory = os.path.join(prefix, "drive_c", DIRECTORY)
        self.saved = self.system_dll + ".lumenor-e2e"
        shutil.rmtree(self.directory, ignore_errors=True)
        os.makedirs(self.directory)
        for display, script in monitors.items():
            with open(os.path.join(self.directory, "DISPLAY%d.ini" % display), "w",
                      newline="") as f:
                f.write("[monitor]\r\n" + "".join("%s=%s\r\n" % kv for kv in script.items()))
        if not os.path.exists(self.saved) and os.path.exists(self.system_dll):
            shutil.copy2(self.system_dll, self.saved)
        shutil.copy2(dll, self.system_dll)
        self.generations = {}
        self.env = {"WINEDLLOVERRIDES": ";".join(o for o in (overrides, "dxva2=n") if o)}

    def destroy_handles(self, display):
        """Windows destroys the physical-monitor handles of the display, as at a mode change, a
        monitor switched off and on, or sleep: a call on one given out so far fails from now."""
        path = os.path.join(self.directory, "DISPLAY%d.live" % display)
        self.generations[display] = self.generations.get(display, 0) + 1
        with open(path + ".tmp", "w", newline="") as f:
            f.write("[monitor]\r\ngeneration=%d\r\n" % self.generations[display])
        os.replace(path + ".tmp", path)

    def state(self, display):
        """What the monitor behind the display was told: level, maximum, reads, writes (calls
        answered yes), open (physical handles not destroyed), calls (every read and write),
        dead_calls (those on a destroyed handle), opened (handles asked for) and
        last_write_ms, last_read_ms (when the last of each was answered, ms since 1970); None
        before its first call."""
        path = os.path.join(self.directory, "DISPLAY%d.state" % display)
        try:
            with open(path, encoding="ascii") as f:
                lines = f.read().split()
        except FileNotFoundError:
            return None
        return {k: int(v) for k, _, v in (line.partition("=") for line in lines[1:])}

    def uninstall(self):
        if os.path.exists(self.saved):
            shutil.move(self.saved, self.system_dll)
        shutil.rmtree(self.directory, ignore_errors=True)
