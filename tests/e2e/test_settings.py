"""What the user chooses and keeps: other keys chosen in "快捷键" from the tray menu, kept in
lumenor.ini beside the exe and in force after a restart; "开机启动" and its Run value, also when the
user disabled Lumenor among the startup apps and for a copy run from under the temporary folder;
/tray; a second start that brings the first copy's window forward; a damaged lumenor.ini; a
lumenor.ini another program holds at start."""

import os
import shutil
import tempfile
import time

from lumenor_e2e import (MAIN_CAPTION, MOD_CONTROL, SECOND_COPY_TEXT, VK_LEFT, DesktopTestCase,
                         click, key, run, screenshot, wait_for)

MOD_ALT = 1
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
APPROVED_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
UNPACK_FIRST_TEXT = "请先把 Lumenor 解压到您选择的文件夹，再设置开机启动。"
ALT_D_DARKER = b"darker=1,68\n"
DIALOG_CAPTION = "快捷键"
SETTINGS_REFUSED_LEAD = "无法使用设置文件 "


class Settings(DesktopTestCase):

    def darkness(self, main):
        return self.darkness_bar(main).pos, self.label_zl_show(main).text

    def press(self, combo, expected, main):
        key(combo, over=self.neutral_point(main))
        main, ok = self.wait_main("darkness %d" % expected,
                                  lambda m: self.darkness(m) == (expected, str(expected)))
        self.assertTrue(ok, "after %s the darkness reads %s / %r, expected %d"
                            % ((combo,) + self.darkness(main) + (expected,)))
        return main

    def settings_item(self, downs):
        """The tray menu by keyboard: Up to "退出", Up to "设置", Right into it, Down `downs`
        times, Return."""
        self.open_tray_menu()
        key("Up", "Up", "Right", *(["Down"] * downs), "Return", delay_ms=150)

    def ctrl_left_is_free(self):
        holder, report = self.probe.hold_hotkey(MOD_CONTROL, VK_LEFT, 2)
        self.hold(holder)
        return report["registered"]

    def run_value(self, key=RUN_KEY):
        text = run(["wine", "reg", "query", key, "/v", "Lumenor"], check=False, timeout=60)
        return text if "Lumenor" in text else None

    def set_value(self, key, kind, data):
        run(["wine", "reg", "add", key, "/v", "Lumenor", "/t", kind, "/d", data, "/f"], timeout=60)
        self.addCleanup(run, ["wine", "reg", "delete", key, "/v", "Lumenor", "/f"], check=False,
                        timeout=60)

    def wine_folder(self, variable):
        """The folder an environment variable of the prefix names: Windows' path and the Unix one."""
        windows = run(["wine", "cmd", "/c", "echo %%%s%%" % variable], timeout=60).strip()
        return windows, run(["winepath", "-u", windows], timeout=60).strip()

    def start_with_ini_held(self, seconds):
        """lumenor.ini choosing Alt+D to darken, held without sharing by another program for
        `seconds` from just before the start, as a sync client or an editor can hold it."""
        directory = tempfile.mkdtemp(prefix="lumenor-e2e-held-")
        self.addCleanup(shutil.rmtree, directory, True)
        with open(os.path.join(directory, "lumenor.ini"), "wb") as f:
            f.write(ALT_D_DARKER)
        path = "Z:" + os.path.join(directory, "lumenor.ini").replace("/", "\\")
        holder, report = self.probe.hold_file(path, seconds)
        self.hold(holder)
        self.assertTrue(report["held"], "the probe could not hold %s (%s)" % (path, report))
        program = self.start_lumenor(directory=directory)
        return program, holder, self.wait_main_window(program, timeout=30)

    def test_keys_chosen_in_the_dialog_dim_free_ctrl_left_and_last_after_a_restart(self):
        program, main = self.start_and_wait()
        self.settings_item(0)
        dialog = wait_for("dialog", lambda: self.probe.window(DIALOG_CAPTION), 10)
        self.assertIsNotNone(dialog, "\"快捷键…\" opened no window captioned %r" % DIALOG_CAPTION)
        time.sleep(0.5)
        # Alt+D in 变暗's field, Alt+B in 变亮's, then 确定.
        fields = dialog.by_class("msctls_hotkey32")
        self.assertEqual(len(fields), 2, "the dialog has %d hotkey fields" % len(fields))
        for field, combo in zip(fields, ("alt+d", "alt+b")):
            click(*field.centre)
            key(combo, delay_ms=150)
        screenshot("hotkey-dialog")
        click(*dialog.by_text("确定").centre)
        gone = wait_for("dialog closed", lambda: self.probe.window(DIALOG_CAPTION) is None, 5)
        self.assertTrue(gone, "the dialog stayed open after Return on 确定")

        main = self.press("alt+d", -126, self.main_window())
        main = self.press("alt+b", -121, main)
        self.assertTrue(self.ctrl_left_is_free(),
                        "after other keys were chosen Ctrl + Left is still registered")
        self.assertTrue(any(c.text.startswith("按住Alt+D变黑,按住Alt+B变亮,") for c in main.children),
                        "the banner does not name the keys in force")
        ini = os.path.join(program.directory, "lumenor.ini")
        with open(ini, encoding="utf-8") as f:
            text = f.read()
        self.assertIn("darker=1,68\n", text, "lumenor.ini beside the exe lacks the chosen key")

        self.end_with_exit_button(program)
        again, main = self.start_and_wait(directory=program.directory)
        main = self.press("alt+d", -126, main)
        self.assertTrue(self.ctrl_left_is_free(),
                        "after a restart Ctrl + Left is registered again")
        self.assertTrue(again.alive())

    def test_start_with_windows_writes_and_removes_the_run_value(self):
        program, main = self.start_and_wait()
        self.assertIsNone(self.run_value(), "a Run value before anything was chosen")
        # Disabled among the startup apps: "开机启动" shows unchecked, and ticking it enables it.
        self.set_value(RUN_KEY, "REG_SZ", '"%s" /tray' % program.exe)
        self.set_value(APPROVED_KEY, "REG_BINARY", "030000000000000000000000")
        self.settings_item(1)
        self.assertTrue(wait_for("enabled", lambda: self.run_value(APPROVED_KEY) is None
                                 or " 02" in self.run_value(APPROVED_KEY), 10),
                        "ticking \"开机启动\" left Lumenor disabled among the startup apps")
        value = wait_for("Run value", self.run_value, 10)
        self.assertIsNotNone(value, "\"开机启动\" wrote no value Lumenor under %s" % RUN_KEY)
        self.assertIn('lumenor.exe" /tray', value, "the Run value reads %r" % value)
        self.settings_item(1)
        self.assertTrue(wait_for("Run value gone", lambda: self.run_value() is None, 10),
                        "unchecking \"开机启动\" left the Run value")
        self.assertTrue(program.alive())

    def test_a_copy_run_from_the_temporary_folder_leaves_the_run_value_as_it_was(self):
        earlier = r'"C:\Lumenor\lumenor.exe" /tray'
        self.set_value(RUN_KEY, "REG_SZ", earlier)
        temporary, unix = self.wine_folder("TEMP")
        directory = os.path.join(unix, "Temp1_lumenor-win64.zip")
        os.makedirs(directory, exist_ok=True)
        self.addCleanup(shutil.rmtree, directory, True)
        program, main = self.start_and_wait(directory=directory)
        self.settings_item(1)
        box = self.wait_message_box(text=UNPACK_FIRST_TEXT, timeout=10)
        self.assertIsNotNone(box, "ticking \"开机启动\" in a copy under %s showed no %r"
                                  % (temporary, UNPACK_FIRST_TEXT))
        self.dismiss_with_enter(box)
        # Its settings go to %APPDATA%\Lumenor\, not beside it.
        kept = os.path.join(self.wine_folder("APPDATA")[1], "Lumenor", "lumenor.ini")
        self.addCleanup(lambda: os.path.exists(kept) and os.unlink(kept))
        self.settings_item(3)  # "截图时包含遮罩"
        self.assertTrue(wait_for("kept", lambda: os.path.exists(kept), 10),
                        "the copy under %s kept no settings in %%APPDATA%%\\Lumenor" % temporary)
        self.end_with_exit_button(program)
        value = self.run_value()
        self.assertIsNotNone(value, "the copy under %s removed the Run value" % temporary)
        self.assertIn(earlier, value, "the copy under %s changed the Run value" % temporary)
        self.assertEqual(sorted(os.listdir(directory)), ["lumenor.exe"],
                         "the copy under %s left files beside itself" % temporary)

    def test_a_file_held_for_2_s_at_start_is_read_when_it_is_free(self):
        program, holder, main = self.start_with_ini_held(2)
        self.press("alt+d", -126, main)
        self.assertTrue(self.ctrl_left_is_free(), "the keys of the held lumenor.ini are not in force")

    def test_a_file_held_for_10_s_keeps_the_users_keys_through_the_next_change(self):
        program, holder, main = self.start_with_ini_held(10)
        self.press("ctrl+Left", -126, main)  # the start went on without the file
        self.assertTrue(wait_for("released", lambda: holder.reports("released"), 15),
                        "the probe never let lumenor.ini go")
        self.settings_item(3)  # "截图时包含遮罩"
        ini = os.path.join(program.directory, "lumenor.ini")
        self.assertTrue(wait_for("written", lambda: b"include_in_screenshots=1" in open(
            ini, "rb").read(), 10), "ticking \"截图时包含遮罩\" was not written")
        with open(ini, "rb") as f:
            self.assertIn(ALT_D_DARKER, f.read(), "the user's keys were written over")

    def test_tray_argument_starts_hidden_with_working_hotkeys(self):
        program = self.start_lumenor(args=["/tray"])
        self.assertTrue(wait_for("icon", self.tray_icons, 20), "with /tray no icon shows")
        main = wait_for("Form1 loaded", lambda: self.probe.window(MAIN_CAPTION), 10)
        self.assertIsNotNone(main, "with /tray Form1 was not loaded")
        self.assertFalse(main.visible, "with /tray the main window shows")
        key("ctrl+Left", over=self.neutral_point())
        main, ok = self.wait_main("stepped", lambda m: self.darkness(m) == (-126, "-126"))
        self.assertTrue(ok, "with /tray Ctrl + Left left the darkness at %s / %r"
                            % self.darkness(main))
        self.assertFalse(self.main_window().visible, "the hotkey showed the window")

    def test_a_second_start_brings_the_first_copys_window_forward(self):
        first, main = self.start_and_wait()
        self.close_with_close_box()
        second = self.start_lumenor()
        box = self.wait_message_box(text=SECOND_COPY_TEXT, timeout=20)
        self.assertIsNotNone(box, "a second copy showed no %r" % SECOND_COPY_TEXT)
        self.assertIsNone(self.probe.window(MAIN_CAPTION),
                          "the first copy's window came back before the message was closed")
        self.dismiss_with_enter(box)
        self.assertTrue(second.wait_exit(10), "the second copy still runs")
        main = wait_for("shown", lambda: (lambda w: w if w is not None and w.visible else None)(
            self.probe.window(MAIN_CAPTION)), 10)
        self.assertIsNotNone(main, "after the second copy's message the first copy's main window "
                                   "did not come back")
        self.assertTrue(first.alive(), "the first copy ended")

    def test_a_damaged_file_gives_the_defaults_one_balloon_and_is_kept_as_bad(self):
        junk = bytes((i * 151 + 7) % 256 for i in range(2048))
        program, main = self.start_and_wait(beside={"lumenor.ini": junk})
        balloon = self.wait_balloon(lambda t: t.startswith(SETTINGS_REFUSED_LEAD))
        self.assertIsNotNone(balloon, "a damaged lumenor.ini gave no balloon (balloons: %s)"
                                      % [b.tip for b in self.balloons()])
        bad = os.path.join(program.directory, "lumenor.ini.bad")
        self.assertTrue(os.path.exists(bad), "the damaged file was not kept as lumenor.ini.bad")
        with open(bad, "rb") as f:
            self.assertEqual(f.read(), junk, "lumenor.ini.bad is not the damaged file")
        self.assertFalse(os.path.exists(os.path.join(program.directory, "lumenor.ini")),
                         "a new lumenor.ini was written though the user changed nothing")
        self.press("ctrl+Left", -126, main)
        time.sleep(2.5)
        count = len([b for b in self.balloons() if b.tip.startswith(SETTINGS_REFUSED_LEAD)])
        self.assertLessEqual(count, 1, "more than one balloon for the damaged file")
        self.assertEqual(sorted(os.listdir(program.directory)), ["lumenor.exe", "lumenor.ini.bad"],
                         "the folder holds more than the exe and the kept file")
