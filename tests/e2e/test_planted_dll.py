"""A DLL planted beside the program: Windows looks for a DLL that is not a KnownDLL in the
program's own directory first, so a wtsapi32.dll put there by someone else would run inside
Lumenor if the program imported WTSAPI32 or loaded it by bare name. Lumenor loads it from the
system directory only."""

import ntpath
import os
import shutil
import tempfile

from lumenor_e2e import DesktopTestCase, Probe, config

MARKER = "planted-dll-ran.txt"  # what the planted wtsapi32.dll leaves beside itself when loaded
SYSTEM_DIRECTORY = "c:\\windows\\system32\\"


def planted_dll():
    """The planted wtsapi32.dll built beside the probe (tests/e2e/CMakeLists.txt)."""
    path = os.path.join(os.path.dirname(config().probe), "planted", "wtsapi32.dll")
    with open(path, "rb") as f:
        return f.read()


def native_first(dll):
    """WINEDLLOVERRIDES with `dll` taken from the file found first (the program's directory), as
    Windows does, on top of the overrides the desktop sets."""
    return ";".join(o for o in (config().env.get("WINEDLLOVERRIDES", ""), dll + "=n,b") if o)


def windows_path(unix_path):
    return "Z:" + unix_path.replace("/", "\\")


class PlantedDll(DesktopTestCase):

    def test_a_wtsapi32_dll_beside_the_program_never_runs(self):
        data = planted_dll()
        overrides = {"WINEDLLOVERRIDES": native_first("wtsapi32")}

        # The planted DLL shows when it runs: loaded into the probe under the same search order, it
        # leaves its marker.
        directory = tempfile.mkdtemp(prefix="lumenor-e2e-planted-")
        self.addCleanup(shutil.rmtree, directory, True)
        with open(os.path.join(directory, "wtsapi32.dll"), "wb") as f:
            f.write(data)
        probe = Probe(config().probe, env=overrides)
        self.assertTrue(probe.load_library(windows_path(os.path.join(directory, "wtsapi32.dll"))),
                        "the planted wtsapi32.dll does not load at all")
        self.assertTrue(os.path.exists(os.path.join(directory, MARKER)),
                        "the planted wtsapi32.dll left no marker when loaded")

        program, main = self.start_and_wait(beside={"wtsapi32.dll": data}, env=overrides)
        marker = os.path.join(program.directory, MARKER)
        loaded = [m for m in self.probe.modules(main.pid)
                  if ntpath.basename(m).lower() == "wtsapi32.dll"]
        if os.path.exists(marker):
            with open(marker, "rb") as f:
                loader = f.read().decode("utf-16-le", "replace")
            self.fail("a wtsapi32.dll put beside lumenor.exe ran inside %s (the program has loaded "
                      "%s)" % (loader, loaded))
        self.assertEqual([m for m in loaded if not m.lower().startswith(SYSTEM_DIRECTORY)], [],
                         "lumenor.exe loaded wtsapi32.dll from outside the system directory")
