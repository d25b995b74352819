"""What the program touches besides the display: it writes no file and no registry value, and reads
its Default.dat and tray.ico only from its own directory."""

import os
import shutil
import tempfile

from lumenor_e2e import (MISSING_FILE_CAPTION, SECOND_COPY_TEXT, DesktopTestCase, click, config,
                         drag, key, ramp_file_text, run, screenshot, wait_for)
from test_main_window import file_ramp, solid_icon_file

def registry_lines():
    """Every key and value of the prefix's registry, as `reg export` writes them."""
    lines = set()
    for hive in ("HKLM", "HKCU", "HKU"):
        with tempfile.NamedTemporaryFile(suffix=".reg", delete=False) as f:
            path = f.name
        try:
            run(["wine", "reg", "export", hive, path, "/y"], timeout=60)
            with open(path, "rb") as f:
                text = f.read().decode("utf-16", "replace")
        finally:
            os.unlink(path)
        key_name = ""
        for line in text.replace("\\\r\n", "").splitlines():
            line = line.strip()
            if line.startswith("["):
                key_name = line
                lines.add(key_name)
            elif line:
                lines.add(key_name + " " + line)
    return lines


def file_state(*roots):
    """Size and modification time of every file under the roots; the registry's own files are left
    to registry_lines (the server writes them whenever it likes)."""
    state = {}
    for root in roots:
        for directory, _, names in os.walk(root):
            for name in names:
                path = os.path.join(directory, name)
                if path.endswith(".reg") and os.path.dirname(path) == os.environ["WINEPREFIX"]:
                    continue
                try:
                    st = os.lstat(path)
                except OSError:
                    continue
                state[path] = (st.st_size, st.st_mtime_ns)
    return state


def value_name(line):
    """A registry line without its data: the key, or the key and the value's name."""
    key_name, _, rest = line.removeprefix("removed: ").partition("] ")
    if not rest:
        return key_name
    name = rest.split("=", 1)[0]
    return key_name + "] " + name


def changes(before, after):
    if isinstance(before, set):
        return sorted((after - before) | {"removed: " + line for line in before - after})
    return sorted(p for p in set(before) | set(after) if before.get(p) != after.get(p))


class Security(DesktopTestCase):

    def test_default_dat_and_tray_ico_come_from_its_own_directory_only(self):
        icon = solid_icon_file(0xFF00FF)
        with open(icon, "rb") as f:
            magenta = f.read()
        os.unlink(icon)
        program, main = self.start_and_wait(
            in_cwd={"Default.dat": ramp_file_text(file_ramp()).encode(), "tray.ico": magenta})

        icons = wait_for("tray icon", self.tray_icons, 5)
        self.assertTrue(icons, "no icon shows in the notification area")
        shot = screenshot("security-cwd-tray-ico")
        centre = shot.pixel(*icons[0].centre)
        self.assertNotEqual(centre, (255, 0, 255), "the tray icon is the magenta tray.ico of the "
                                                   "working directory (%s)" % shot.path)
        click(*self.button(main, "恢复默认").centre)
        box = self.wait_message_box(caption=MISSING_FILE_CAPTION)
        self.assertIsNotNone(box, "the restore found a Default.dat: only the working directory "
                                  "holds one")
        self.dismiss_with_enter(box)
        self.assertIsNone(self.wait_ramp(self.start_ramp), "the restore applied the working "
                                                           "directory's Default.dat")
        self.end_with_exit_button(program)

    def test_writes_no_file_and_no_registry_value(self):
        # What Wine writes for any program: a minimal Win32 program (the probe showing a window)
        # run between two snapshots.
        directory = tempfile.mkdtemp(prefix="lumenor-e2e-")
        self.addCleanup(shutil.rmtree, directory, True)
        shutil.copy2(config().exe, os.path.join(directory, "lumenor.exe"))
        with open(os.path.join(directory, "Default.dat"), "w", newline="") as f:
            f.write(ramp_file_text(file_ramp()))
        icon = solid_icon_file(0xFF00FF)
        shutil.move(icon, os.path.join(directory, "tray.ico"))
        roots = (os.environ["WINEPREFIX"], directory)

        files0, registry0 = file_state(*roots), registry_lines()
        holder, _ = self.probe.topmost_window(1.5, 10, 10, 50, 50, 0x00FF00)
        self.hold(holder)
        holder.proc.wait(20)
        files1, registry1 = file_state(*roots), registry_lines()
        wine_files = set(changes(files0, files1))
        wine_values = {value_name(line) for line in changes(registry0, registry1)}

        program, main = self.start_and_wait(directory=directory)
        self.use_every_feature(program, main)
        files2, registry2 = file_state(*roots), registry_lines()

        written = [p for p in changes(files1, files2) if p not in wine_files]
        self.assertEqual(written, [], "files changed while Lumenor ran (beyond what Wine changes "
                                      "for any program)")
        values = [line for line in changes(registry1, registry2)
                  if value_name(line) not in wine_values]
        self.assertEqual(values, [], "registry values changed while Lumenor ran (beyond what Wine "
                                     "changes for any program)")
        print("    Wine itself changed %d files and %d registry values for the minimal program"
              % (len(wine_files), len(wine_values)))

    def use_every_feature(self, program, main):
        """Sliders by mouse and keys, the hotkeys, the overlay's box, the restore from Default.dat,
        hiding to the tray and "选项", the close box and "选项", a second copy, and "退    出"."""
        drag(*self.slider_thumb(self.slider1(main)), -30)
        main = self.focus_slider(self.slider2(self.main_window()))
        key("Left", "Left")
        main = self.focus_slider(self.colour_slider(self.main_window(), 1))
        key("Prior")
        key("ctrl+Left", "ctrl+Left", "ctrl+Right", over=self.neutral_point())
        main, stepped = self.wait_main("stepped", lambda m: self.darkness_bar(m).pos == -126)
        self.assertTrue(stepped, "the hotkeys did not step the darkness bar")
        click(*self.check_box(main).centre)
        click(*self.button(main, "恢复默认").centre)
        self.assertIsNone(self.wait_ramp(file_ramp()), "the restore did not apply Default.dat")
        click(*self.button(self.main_window(), "小到托盘").centre)
        self.choose_tray_menu_item(1)
        self.assertTrue(self.wait_main("shown", lambda m: m.visible)[1], "\"选项\" showed nothing")
        self.close_with_close_box()
        self.choose_tray_menu_item(1)
        self.assertTrue(self.wait_main("shown", lambda m: m.visible)[1], "\"选项\" showed nothing")
        second = self.start_lumenor(directory=program.directory)
        box = self.wait_message_box(text=SECOND_COPY_TEXT, timeout=20)
        self.assertIsNotNone(box, "a second copy said nothing")
        self.dismiss_with_enter(box)
        self.assertTrue(second.wait_exit(10), "the second copy still runs")
        self.end_with_exit_button(program)
