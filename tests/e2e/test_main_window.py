"""The main window, the restore and the tray presence as a user meets them: the window's texts and
layout, the brightness slider changing the display, the restore with and without Default.dat, the
single running copy, hiding to the tray, the close box, the tray menu's exit and a close for an
update; tray.ico good and bad, the icon coming back when the shell restarts; the ramp set last
coming back after the system's resets, and the balloon for a setting the display refuses."""

import os
import shutil
import struct
import subprocess
import tempfile
import time

from lumenor_e2e import (BANNER_TEXT, MAIN_CAPTION, MISSING_FILE_CAPTION, MISSING_FILE_TEXT,
                         PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND, RAMP_REFUSED_TEXT,
                         SCREEN_SIZES, SECOND_COPY_TEXT, TRAY_FORM_CLASS, DISPLAY_SIGNALS_CLASS, TWIPS_PER_PIXEL,
                         WM_POWERBROADCAST, WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT,
                         WTS_SESSION_UNLOCK, DesktopTestCase, brightness_ramp, colour_ramp,
                         click, config, drag, key, mouse_move, ramp_difference, ramp_file_text,
                         screenshot, straight_ramp, wait_for)

TRAY_TOOLTIP = "显示器亮度调节增强"
OVERWRITTEN_HEAD = "另一个程序改了"  # the balloon when the tick leaves another program's ramp
WM_ENDSESSION = 0x16
ENDSESSION_CLOSEAPP = 0x1

# Every control a user reads, with its place in the design (twips, relative to the client area;
# the colour controls sit in the frame at 285, 1890).
FRAME = (285, 1890)
DESIGN = [
    # name, window class, text, left, top, width, height
    ("Label_liangdu", "Static", "亮度:", 240, 330, 480, 240),
    ("Slider1", "msctls_trackbar32", "", 1335, 255, 4815, 420),
    ("Label2", "Static", "0", 1035, 360, 405, 255),
    ("Check加强", "Button", "加强:", 240, 825, 750, 405),
    ("Label_zl_show", "Static", "1", 1020, 885, 420, 255),
    ("HScroll_setblack", "ScrollBar", "", 1485, 915, 4545, 270),
    ("Label_dbd", "Static", "对比度:", 240, 1365, 720, 330),
    ("Slider2", "msctls_trackbar32", "", 1380, 1365, 4740, 375),
    ("Label3", "Static", "100", 1035, 1365, 435, 255),
    ("Frame2", "Button", "色相调整", 285, 1890, 5820, 2535),
    ("Label1(0)", "Static", "红", FRAME[0] + 240, FRAME[1] + 450, 180, 255),
    ("Slider3(0)", "msctls_trackbar32", "", FRAME[0] + 495, FRAME[1] + 360, 5130, 495),
    ("Label1(1)", "Static", "绿", FRAME[0] + 240, FRAME[1] + 1200, 180, 255),
    ("Slider3(1)", "msctls_trackbar32", "", FRAME[0] + 495, FRAME[1] + 1065, 5100, 495),
    ("Label1(2)", "Static", "蓝", FRAME[0] + 240, FRAME[1] + 1875, 180, 255),
    ("Slider3(2)", "msctls_trackbar32", "", FRAME[0] + 495, FRAME[1] + 1770, 5115, 495),
    ("Command1", "Button", "恢复默认", 3735, 4695, 1200, 510),
    ("Command2", "Button", "退    出", 4980, 4695, 1200, 510),
    ("Command托盘", "Button", "小到托盘", 2310, 4710, 1335, 495),
    ("Labelsm", "Static", BANNER_TEXT, -15, 5250, 6330, 765),
]


def px(twips):
    return round(twips / TWIPS_PER_PIXEL)


def file_ramp():
    """A ramp the display accepts, different in each channel, with entries above 32767 so the file
    holds negative numbers: red to 90 %, green to 70 %, blue to 50 % of full."""
    ramp = []
    for scale in (0.9, 0.7, 0.5):
        ramp += [round(i * 257 * scale) for i in range(256)]
    return ramp


def outside_ramp():
    """What the system or another program puts on the display: a darker straight ramp, which the
    display takes."""
    return [round(i * 257 * 0.6) for i in range(256)] * 3


def solid_icon_file(rgb, size=16):
    """An .ico file holding one 32-bit image of one colour."""
    r, g, b = (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF
    pixels = bytes((b, g, r, 255)) * (size * size)
    mask = bytes(((size + 31) // 32) * 4 * size)  # all opaque
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask),
                         0, 0, 0, 0)
    image = header + pixels + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32,
                                                           len(image), 6 + 16)
    f = tempfile.NamedTemporaryFile(prefix="lumenor-e2e-", suffix=".ico", delete=False)
    f.write(directory + image)
    f.close()
    return f.name


class MainWindow(DesktopTestCase):

    def assert_start_state(self, main, when):
        s1, s2 = self.slider1(main), self.slider2(main)
        self.assertEqual((s1.min, s1.max, s1.pos), (-50, 50, 0),
                         "%s the brightness slider shows range %s..%s at %s, expected -50..50 at 0"
                         % (when, s1.min, s1.max, s1.pos))
        self.assertEqual((s2.min, s2.max, s2.pos), (1, 300, 100),
                         "%s the contrast slider shows range %s..%s at %s, expected 1..300 at 100"
                         % (when, s2.min, s2.max, s2.pos))
        for k in range(3):
            s = self.colour_slider(main, k)
            self.assertEqual((s.min, s.max, s.pos), (-50, 50, 0),
                             "%s colour slider %d shows range %s..%s at %s, expected -50..50 at 0"
                             % (when, k, s.min, s.max, s.pos))
        bar = self.darkness_bar(main)
        self.assertEqual((bar.min, bar.max, bar.pos), (-255, 255, -121),
                         "%s the darkness bar shows range %s..%s at %s, expected -255..255 at -121"
                         % (when, bar.min, bar.max, bar.pos))
        self.assertEqual(self.label2(main).text, "0", "%s Label2 reads %r, expected \"0\""
                         % (when, self.label2(main).text))
        self.assertEqual(self.label3(main).text, "100", "%s Label3 reads %r, expected \"100\""
                         % (when, self.label3(main).text))
        self.assertEqual(self.label_zl_show(main).text, "1",
                         "%s Label_zl_show reads %r, expected its design caption \"1\""
                         % (when, self.label_zl_show(main).text))
        self.assertEqual(self.check_box(main).check, 0, "%s the check box 加强 is ticked" % when)

    def test_window_texts_layout_and_tray_icon_as_designed(self):
        program, main = self.start_and_wait()
        self.assertEqual(main.text, MAIN_CAPTION)
        l, t, r, b = main.client
        self.assertEqual((r - l, b - t), (420, 410),
                         "the main window's client area is %d x %d pixels, expected 420 x 410"
                         % (r - l, b - t))
        self.assertEqual((l, t), (px(5175), px(1560)),
                         "the main window's client area is at %d, %d, expected %d, %d"
                         % (l, t, px(5175), px(1560)))

        for name, cls, text, left, top, width, height in DESIGN:
            c = main.at_client(cls, px(left), px(top))
            self.assertIsNotNone(c, "the main window has no %s control for %s" % (cls, name))
            where = (c.rect[0] - l, c.rect[1] - t, c.width, c.height)
            wanted = (px(left), px(top), px(width), px(height))
            self.assertTrue(all(abs(a - e) <= 1 for a, e in zip(where, wanted)),
                            "%s (%s) sits at %s (left, top, width, height in client pixels), "
                            "expected %s" % (name, cls, where, wanted))
            self.assertEqual(c.text, text, "%s reads %r, expected %r" % (name, c.text, text))
            self.assertTrue(c.visible, "%s is not visible" % name)
        self.assert_start_state(main, "right after start-up")
        focused = [c for c in main.children if c.focused]
        self.assertEqual([c.text for c in focused], ["恢复默认"],
                         "the keyboard focus starts on %s, expected the button \"恢复默认\""
                         % focused)
        self.assertIsNone(self.wait_ramp(self.start_ramp, timeout=0.5),
                          "the start-up changed the display's ramp")

        icons = wait_for("tray icon", self.tray_icons, 5)
        self.assertTrue(icons, "no icon shows in the notification area (Wine System Tray)")
        self.assertEqual(len(icons), 1, "%d icons show in the notification area" % len(icons))

        shot = screenshot("main-window-desktop")
        shot.crop(main.rect, os.path.join(config().out, "main-window.png"))
        self.assertGreater(len(shot.colours(icons[0].rect)), 1,
                           "the tray icon's place %s is blank (%s)" % (icons[0].rect, shot.path))

        self.end_with_exit_button(program)
        self.assertFalse(wait_for("icon gone", lambda: not self.tray_icons(), 5) is None,
                         "the tray icon stays after \"退    出\" ended the program")

    def test_brightness_slider_by_mouse_and_keys_sets_the_display_ramp(self):
        program, main = self.start_and_wait()
        slider = self.slider1(main)

        # The mouse: the thumb dragged to the left.
        x, y = self.slider_thumb(slider)
        drag(x, y, -30)
        main, moved = self.wait_main("slider moved", lambda m: self.slider1(m).pos < 0)
        dragged = self.slider1(main).pos
        self.assertTrue(moved, "dragging the brightness slider's thumb 30 pixels left left it at "
                               "%s" % dragged)
        self.assertEqual(self.label2(main).text, str(dragged),
                         "with the brightness slider dragged to %d Label2 reads %r"
                         % (dragged, self.label2(main).text))
        diff = self.wait_ramp(brightness_ramp(self.start_ramp, dragged))
        self.assertIsNone(diff, "after brightness %d by mouse the display's ramp is not what "
                                "brightness %d gives: %s" % (dragged, dragged, diff))
        self.assertTrue(self.slider1(main).focused,
                        "the brightness slider did not take the keyboard focus when dragged")

        # The keyboard: Page Up is a large step (5), the arrows a small one, Home the minimum.
        for keys, value in ((("Prior",), dragged - 5), (("Left",), dragged - 6),
                            (("Right", "Right"), dragged - 4), (("Home",), -50)):
            key(*keys)
            main, moved = self.wait_main("slider moved", lambda m: self.slider1(m).pos == value)
            self.assertTrue(moved, "keys %s on the brightness slider left it at %s, expected %d"
                            % (" ".join(keys), self.slider1(main).pos, value))
            self.assertEqual(self.label2(main).text, str(value),
                             "with the brightness slider at %d Label2 reads %r"
                             % (value, self.label2(main).text))
            diff = self.wait_ramp(brightness_ramp(self.start_ramp, value))
            self.assertIsNone(diff, "after brightness %d by keyboard the display's ramp is not "
                                    "what brightness %d gives: %s" % (value, value, diff))

    def test_colour_sliders_set_each_channel_of_the_display_ramp(self):
        program, main = self.start_and_wait()
        self.focus_slider(self.colour_slider(main, 0))
        key("Prior", "Prior")
        main, moved = self.wait_main("red moved", lambda m: self.colour_slider(m, 0).pos == -10)
        self.assertTrue(moved, "Page Up twice on the red slider left it at %s, expected -10"
                        % self.colour_slider(main, 0).pos)
        diff = self.wait_ramp(colour_ramp(self.start_ramp, (-10, 0, 0)))
        self.assertIsNone(diff, "with red at -10 the display's ramp is not what the colour sliders "
                                "give: %s" % diff)

        green = self.colour_slider(main, 1)
        drag(*self.slider_thumb(green), -30)
        main, moved = self.wait_main("green moved", lambda m: self.colour_slider(m, 1).pos < 0)
        value = self.colour_slider(main, 1).pos
        self.assertTrue(moved, "dragging the green slider's thumb left left it at %s" % value)
        diff = self.wait_ramp(colour_ramp(self.start_ramp, (-10, value, 0)))
        self.assertIsNone(diff, "with red at -10 and green at %d the display's ramp is not what "
                                "the colour sliders give: %s" % (value, diff))

    def brightness_down(self, main, steps=1):
        """Brightness down by `steps` large steps from 0, by keyboard on the focused slider."""
        self.focus_slider(self.slider1(main))
        key(*["Prior"] * steps)
        value = -5 * steps
        main, moved = self.wait_main("slider moved", lambda m: self.slider1(m).pos == value)
        self.assertTrue(moved, "Page Up on the brightness slider left it at %s, expected %d"
                        % (self.slider1(main).pos, value))
        return main

    def test_restore_without_default_file_warns_and_gives_back_the_start_ramp(self):
        program, main = self.start_and_wait()
        self.brightness_down(main)
        self.assertIsNone(self.wait_ramp(brightness_ramp(self.start_ramp, -5)),
                          "brightness -5 did not reach the display")

        for attempt in ("first", "second"):
            click(*self.button(self.main_window(), "恢复默认").centre)
            box = self.wait_message_box(caption=MISSING_FILE_CAPTION)
            seen = [(b.text, b.texts()) for b in self.message_boxes()]
            self.assertIsNotNone(box, "the %s restore without Default.dat showed no message box "
                                      "captioned %r; message boxes seen: %s"
                                 % (attempt, MISSING_FILE_CAPTION, seen))
            self.assertIn(MISSING_FILE_TEXT, box.texts(),
                          "the %s restore's message box reads %s, expected %r"
                          % (attempt, box.texts(), MISSING_FILE_TEXT))
            self.dismiss_with_enter(box)
            diff = self.wait_ramp(self.start_ramp)
            self.assertIsNone(diff, "after the %s restore without Default.dat the display does "
                                    "not show the start-up ramp: %s" % (attempt, diff))
            main = self.main_window()
            self.assertEqual((self.slider1(main).pos, self.label2(main).text), (0, "0"),
                             "after the restore the brightness slider is at %s reading %r, "
                             "expected 0" % (self.slider1(main).pos, self.label2(main).text))

    def test_restore_with_default_file_applies_the_file_ramp(self):
        ramp = file_ramp()
        program, main = self.start_and_wait(default_dat=ramp_file_text(ramp))
        click(*self.button(main, "恢复默认").centre)
        diff = self.wait_ramp(ramp)
        boxes = [(b.text, b.texts()) for b in self.message_boxes()]
        self.assertFalse(boxes, "the restore with Default.dat beside the program showed %s" % boxes)
        self.assertIsNone(diff, "after the restore the display does not show Default.dat's ramp: "
                                "%s" % diff)

        # The file's ramp is now the reference: brightness builds from its red channel.
        self.brightness_down(self.main_window())
        diff = self.wait_ramp(brightness_ramp(ramp, -5))
        self.assertIsNone(diff, "brightness -5 after the restore from Default.dat is not built "
                                "from the file's red channel: %s" % diff)

    def test_restore_with_a_malformed_default_file_says_so_and_keeps_the_reference(self):
        text = ramp_file_text(file_ramp())
        short = "\r\n".join(text.split("\r\n")[:200]) + "\r\n"  # 600 of the 768 numbers
        program, main = self.start_and_wait(default_dat=short)
        self.brightness_down(main)
        self.assertIsNone(self.wait_ramp(brightness_ramp(self.start_ramp, -5)),
                          "brightness -5 did not reach the display")
        click(*self.button(self.main_window(), "恢复默认").centre)
        box = self.wait_message_box()
        self.assertIsNotNone(box, "a restore with a Default.dat of only 600 numbers told the user "
                                  "nothing")
        self.assertNotIn(MISSING_FILE_TEXT, box.texts(),
                         "a Default.dat that exists but is cut short was reported as missing")
        self.dismiss_with_enter(box)
        diff = self.wait_ramp(self.start_ramp)
        self.assertIsNone(diff, "after the restore with a malformed Default.dat the display does "
                                "not show the start-up ramp: %s" % diff)

    def tray_icon_pixels(self, shot_name):
        """The pixels of the notification icon, row by row."""
        icons = wait_for("tray icon", self.tray_icons, 5)
        self.assertTrue(icons, "no icon shows in the notification area")
        shot = screenshot(shot_name)
        l, t, r, b = icons[0].rect
        return shot, [shot.pixel(x, y) for y in range(t, b) for x in range(l, r)]

    def test_tray_ico_beside_the_program_is_the_icon_and_a_bad_one_falls_back(self):
        # Without tray.ico the icon is the program's own: what every bad file must show too.
        program, main = self.start_and_wait()
        shot, own = self.tray_icon_pixels("tray-ico-missing")
        self.assertGreater(len(set(own)), 1, "without tray.ico the tray icon is blank (%s)"
                           % shot.path)
        self.end_with_exit_button(program)

        good = solid_icon_file(0xFF00FF)
        with open(good, "rb") as f:
            icon_bytes = f.read()
        os.unlink(good)
        png = subprocess.run(["convert", "-size", "16x16", "xc:#00ff00", "png:-"],
                             capture_output=True, check=True, timeout=30).stdout
        # One image of 50 MB announced by the directory, and 50 MB of nothing behind it.
        huge_size = 50 * 1024 * 1024
        huge = (struct.pack("<HHH", 0, 1, 1)
                + struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 32, huge_size, 22))
        cases = [
            # name, bytes of tray.ico (None: the magenta icon), whether it is an icon
            ("magenta icon", icon_bytes, True),
            ("empty", b"", False),
            ("truncated", icon_bytes[:len(icon_bytes) // 3], False),
            ("png renamed", png, False),
            ("50 MB", huge, False),
        ]
        for name, data, is_icon in cases:
            with self.subTest(tray_ico=name):
                path = os.path.join(tempfile.mkdtemp(prefix="lumenor-e2e-ico-"), "tray.ico")
                with open(path, "wb") as f:
                    f.write(data)
                    if name == "50 MB":
                        f.truncate(huge_size + len(data))
                try:
                    started = time.monotonic()
                    program, main = self.start_and_wait(tray_ico=path)
                    took = time.monotonic() - started
                finally:
                    shutil.rmtree(os.path.dirname(path), ignore_errors=True)
                try:
                    shot, pixels = self.tray_icon_pixels("tray-ico-" + name.replace(" ", "-"))
                    if is_icon:
                        l, t, r, b = self.tray_icons()[0].rect
                        centre = shot.pixel((l + r) // 2, (t + b) // 2)
                        self.assertEqual(centre, (255, 0, 255), "with a magenta tray.ico the "
                                         "tray icon's centre reads %s (%s)" % (centre, shot.path))
                    else:
                        self.assertEqual(pixels, own, "with a tray.ico that is %s the tray icon "
                                         "is not the program's own (%s)" % (name, shot.path))
                    print("    tray.ico %s: main window after %.1f s" % (name, took))
                    self.end_with_exit_button(program)
                finally:
                    program.stop()

    def test_second_copy_says_so_and_ends_while_the_first_runs_on(self):
        first, main = self.start_and_wait()
        icons_before = len(wait_for("icon", self.tray_icons, 5) or [])
        second = self.start_lumenor(directory=first.directory)
        box = self.wait_message_box(text=SECOND_COPY_TEXT, timeout=20)
        seen = [(b.text, b.texts()) for b in self.message_boxes()]
        self.assertIsNotNone(box, "a second copy showed no message %r; message boxes seen: %s"
                             % (SECOND_COPY_TEXT, seen))
        self.assertNotEqual(box.pid, main.pid, "the first copy showed the second copy's message")
        self.assertEqual(len(self.tray_icons()), icons_before,
                         "while its message shows, the second copy has an icon of its own in the "
                         "notification area")
        self.dismiss_with_enter(box)
        self.assertTrue(second.wait_exit(10), "the second copy still runs after its message closed")
        self.assertTrue(first.alive(), "the first copy ended when the second one started")
        now = self.main_window()
        self.assertEqual((now.hwnd, now.visible), (main.hwnd, True),
                         "the first copy's main window changed after the second copy ended")
        icons = wait_for("icons settle", lambda: len(self.tray_icons()) == icons_before, 5)
        self.assertTrue(icons, "the notification area shows %d icons after the second copy "
                               "ended, expected %d" % (len(self.tray_icons()), icons_before))

    def test_hide_to_tray_then_options_keeps_the_sliders(self):
        program, main = self.start_and_wait()
        main = self.brightness_down(main)
        self.focus_slider(self.colour_slider(main, 0))
        key("Right", "Right", "Right", "Right", "Right")
        main, moved = self.wait_main("moved", lambda m: self.slider1(m).pos == -5
                                     and self.colour_slider(m, 0).pos == 5)
        self.assertTrue(moved, "the sliders did not move (brightness %s, red %s)"
                        % (self.slider1(main).pos, self.colour_slider(main, 0).pos))

        click(*self.button(main, "小到托盘").centre)
        main, hidden = self.wait_main("hidden", lambda m: not m.visible)
        self.assertTrue(hidden, "the main window is still visible after \"小到托盘\"")
        self.choose_tray_menu_item(1)
        main, shown = self.wait_main("shown", lambda m: m.visible)
        self.assertTrue(shown, "the tray menu's \"选项\" did not bring the hidden window back")
        self.assertEqual((self.slider1(main).pos, self.label2(main).text,
                          self.colour_slider(main, 0).pos), (-5, "-5", 5),
                         "after hiding and \"选项\" the brightness slider is at %s (Label2 %r) and "
                         "the red slider at %s, expected -5, \"-5\" and 5 as they were"
                         % (self.slider1(main).pos, self.label2(main).text,
                            self.colour_slider(main, 0).pos))

    def test_close_box_then_options_reloads_the_window_afresh(self):
        program, main = self.start_and_wait()
        self.brightness_down(main, steps=4)
        after = brightness_ramp(self.start_ramp, -20)
        self.assertIsNone(self.wait_ramp(after), "brightness -20 did not reach the display")

        self.close_with_close_box()
        # What the display reports now (its readback is quantised) is what the reload reads.
        display_then = self.probe.gamma()
        self.assertTrue(program.alive(), "the close box ended the program; it should stay in the "
                                         "tray")
        self.assertTrue(self.tray_icons(), "the tray icon went away with the main window")
        self.choose_tray_menu_item(1)
        main, shown = self.wait_main("shown", lambda m: m.visible)
        self.assertTrue(shown, "the tray menu's \"选项\" did not bring the closed window back")
        self.assert_start_state(main, "after the close box and \"选项\"")

        # The reloaded window took the display's ramp of that moment as its reference.
        self.brightness_down(main)
        diff = self.wait_ramp(brightness_ramp(display_then, -5))
        self.assertIsNone(diff, "brightness -5 after the reload is not built from the ramp the "
                                "display had when the window came back: %s" % diff)

    def test_tray_menu_exit_ends_the_program_and_removes_the_icon(self):
        program, main = self.start_and_wait()
        self.assertTrue(wait_for("icon", self.tray_icons, 5), "no tray icon shows")
        self.choose_tray_menu_item(3)
        self.assertTrue(program.wait_exit(10), "lumenor.exe still runs after the tray menu's "
                                               "\"退出\"")
        self.assertTrue(wait_for("icon gone", lambda: not self.tray_icons(), 5),
                        "the tray icon stays after the program ended through \"退出\"")

    def test_a_close_for_an_update_ends_the_program_and_removes_the_icon(self):
        program, main = self.start_and_wait()
        self.assertTrue(wait_for("icon", self.tray_icons, 5), "no tray icon shows")
        # The Restart Manager closes a program it must update with the session's end.
        self.post_to(TRAY_FORM_CLASS, WM_ENDSESSION, 1, ENDSESSION_CLOSEAPP)
        self.assertTrue(program.wait_exit(10), "lumenor.exe still runs after WM_ENDSESSION with "
                                               "ENDSESSION_CLOSEAPP")
        self.assertTrue(wait_for("icon gone", lambda: not self.tray_icons(), 5),
                        "the tray icon stays after the program was closed for an update")

    def reset_and_signal(self, what, *signal):
        """The system puts back its own ramp (the straight one) and then says so with `signal` (a
        probe command), in one step: the program's 5 s tick, which also puts back a reset ramp,
        cannot come between them, and what counts is what the display shows after the signal."""
        taken, report = self.probe.set_gamma(straight_ramp(), *signal)
        self.assertTrue(taken, "the display refused the straight ramp before %s" % what)
        self.assertTrue(report.get("ok") or report.get("posted"),
                        "%s could not be delivered: %s" % (what, report))

    def put_outside_ramp(self, what):
        self.assertTrue(self.probe.set_gamma(outside_ramp()),
                        "the display refused the outside ramp %s" % what)
        self.assertIsNone(self.wait_ramp(outside_ramp()),
                          "the display does not show the ramp put on it %s" % what)

    def post_to(self, cls, message, wparam, lparam=0):
        self.assertTrue(self.probe.post(cls, message, wparam, lparam),
                        "there is no window of class %r to tell" % cls)

    def post_to_listener(self, message, wparam):
        self.post_to(DISPLAY_SIGNALS_CLASS, message, wparam)

    def test_the_ramp_set_last_comes_back_after_each_system_reset_also_from_the_tray(self):
        program, main = self.start_and_wait()
        # Nothing set yet in this run: a reset signal leaves the display alone.
        self.put_outside_ramp("before any setting")
        self.post_to_listener(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK)
        time.sleep(2.5)  # beyond the last rewrite
        diff = ramp_difference(self.probe.gamma(), outside_ramp())
        self.assertIsNone(diff, "an unlock before any setting changed the display: %s" % diff)

        self.brightness_down(self.main_window())
        mine = brightness_ramp(self.start_ramp, -5)
        self.assertIsNone(self.wait_ramp(mine), "brightness -5 did not reach the display")

        listener = ("post", DISPLAY_SIGNALS_CLASS)
        resets = [
            ("a change of display mode (WM_DISPLAYCHANGE)", ("set-resolution",) + SCREEN_SIZES[1]),
            ("a resume (PBT_APMRESUMEAUTOMATIC)",
             listener + (WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0)),
            ("a resume by the user (PBT_APMRESUMESUSPEND)",
             listener + (WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0)),
            ("a console connect (WTS_CONSOLE_CONNECT)",
             listener + (WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT, 0)),
            ("an unlock (WTS_SESSION_UNLOCK)",
             listener + (WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0)),
        ]
        told = time.monotonic()
        for what, signal in resets:
            time.sleep(max(0.0, told + 2.5 - time.monotonic()))  # the last rewrite is done
            told = time.monotonic()
            self.reset_and_signal(what, *signal)
            diff = self.wait_ramp(mine)
            self.assertIsNone(diff, "after %s the display does not show brightness -5 again: %s"
                              % (what, diff))

        # The system's reset may land after its message: the ramp comes back once more. (Judged
        # only when the outside ramp went on well before the last rewrite, about 2 s on.)
        self.assertTrue(self.probe.set_gamma(straight_ramp()))
        if time.monotonic() - told < 1.5:
            diff = self.wait_ramp(mine, timeout=4.0)
            self.assertIsNone(diff, "a ramp put on the display just after an unlock stayed: no "
                                    "later rewrite came (%s)" % diff)
        # The ramp belongs to the program: the tray form keeps it with Form1 unloaded.
        time.sleep(max(0.0, told + 2.5 - time.monotonic()))
        self.close_with_close_box()
        self.reset_and_signal("a resume with the main window closed",
                              *listener, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0)
        diff = self.wait_ramp(mine)
        self.assertIsNone(diff, "with the main window closed to the tray a resume did not bring "
                                "brightness -5 back: %s" % diff)

        # Another program's ramp stays: between signals, over the 5 s tick, and after a signal.
        time.sleep(2.5)
        self.put_outside_ramp("between signals")
        time.sleep(1.0)
        diff = ramp_difference(self.probe.gamma(), outside_ramp())
        self.assertIsNone(diff, "Lumenor wrote over another program's ramp with no signal: %s"
                          % diff)
        # The 5 s tick reads it and leaves it to the other program, and says so: only then does a
        # signal come (before the tick the ramp would still be Lumenor's to put back).
        self.assertIsNotNone(self.wait_balloon(lambda text: text.startswith(OVERWRITTEN_HEAD),
                                               timeout=12.0),
                             "the 5 s tick did not say that another program changed the display")
        self.post_to_listener(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC)
        time.sleep(2.5)  # beyond the last rewrite
        diff = ramp_difference(self.probe.gamma(), outside_ramp())
        self.assertIsNone(diff, "Lumenor fought another program over the display after the 5 s "
                                "tick had seen its ramp: %s" % diff)

    def test_a_refused_brightening_shows_one_balloon_and_the_display_keeps_its_ramp(self):
        program, main = self.start_and_wait()
        self.focus_slider(self.slider1(main))
        key("Next")  # brightness +5 from the straight ramp: the display under Wine refuses it
        main, moved = self.wait_main("slider moved", lambda m: self.slider1(m).pos == 5)
        self.assertTrue(moved, "Page Down on the brightness slider left it at %s, expected 5"
                        % self.slider1(main).pos)
        balloon = self.wait_balloon(lambda text: text == RAMP_REFUSED_TEXT)
        self.assertIsNotNone(balloon, "brightness +5, which the display refuses, showed no balloon "
                                      "%r; balloons seen: %s"
                             % (RAMP_REFUSED_TEXT, [b.tip for b in self.balloons()]))
        diff = ramp_difference(self.probe.gamma(), self.start_ramp)
        self.assertIsNone(diff, "the display does not keep its ramp after the refusal: %s" % diff)
        shot = screenshot("balloon-refused")
        l, t, r, b = balloon.rect
        icons = self.tray_icons()
        if icons:  # the balloon and the icon it points at
            l, t = min(l, icons[0].rect[0]), min(t, icons[0].rect[1])
            r, b = max(r, icons[0].rect[2]), max(b, icons[0].rect[3])
        shot.crop((max(l - 8, 0), max(t - 8, 0), min(r + 8, shot.width), min(b + 8, shot.height)),
                  os.path.join(config().out, "balloon.png"))

        # Wine takes a shown balloon down as soon as the program asks for another one, and shows
        # the new one about 2 s later: a second balloon would come as another window.
        key("Next")
        main, moved = self.wait_main("slider moved", lambda m: self.slider1(m).pos == 10)
        self.assertTrue(moved, "a second Page Down left the brightness slider at %s, expected 10"
                        % self.slider1(main).pos)
        others = wait_for("a second balloon", lambda: [
            b for b in self.balloons() if b.hwnd != balloon.hwnd and b.tip == RAMP_REFUSED_TEXT],
            3.5, 0.3)
        self.assertFalse(others, "a second refused step showed another balloon: %s"
                         % [(b.tip, b.hwnd) for b in others or []])
        self.assertIsNone(ramp_difference(self.probe.gamma(), self.start_ramp),
                          "the display changed with a refused brightness +10")

    def icon_tooltip(self):
        """The text of the tooltip that shows while the pointer rests on the tray icon."""
        icons = self.tray_icons()
        if not icons:
            return None
        l, t, r, b = icons[0].rect
        mouse_move(l + 2, t + 2)
        mouse_move(*icons[0].centre)
        def shown_tip():
            for w in self.probe.windows():
                if w.cls == "tooltips_class32" and w.visible:
                    tip = self.probe.call("tooltip-text", w.hwnd)
                    if tip["current"] and tip["text"]:
                        return tip["text"]
            return None
        tip = wait_for("tooltip", shown_tip, 5)
        mouse_move(*self.neutral_point())
        return tip

    def test_shell_restart_brings_the_icon_back_with_its_tooltip_and_menu(self):
        program, main = self.start_and_wait()
        self.assertTrue(wait_for("icon", self.tray_icons, 5), "no tray icon shows")
        self.assertEqual(self.icon_tooltip(), TRAY_TOOLTIP, "the tray icon's tooltip")
        tray_form = next((w for w in self.probe.windows()
                          if w.cls == TRAY_FORM_CLASS and w.pid == main.pid), None)
        self.assertIsNotNone(tray_form, "the program's tray window was not found")

        # A restarting shell has lost every icon, then tells every top-level window.
        forgot = self.probe.call("forget-tray-icon", tray_form.hwnd)
        self.assertTrue(forgot["deleted"], "the shell did not let go of the program's icon")
        self.assertTrue(wait_for("icon gone", lambda: not self.tray_icons(), 5),
                        "the icon still shows after the shell let go of it")
        self.assertTrue(self.probe.call("taskbar-created")["sent"], "the broadcast failed")
        icons = wait_for("icon back", self.tray_icons, 5)
        self.assertTrue(icons, "after \"TaskbarCreated\" the program's icon did not come back")
        self.assertEqual(len(icons), 1, "%d icons show after \"TaskbarCreated\"" % len(icons))
        self.assertEqual(self.icon_tooltip(), TRAY_TOOLTIP, "the tooltip of the icon put back")

        # Its menu works: "小到托盘", then "选项" from the icon put back.
        click(*self.button(self.main_window(), "小到托盘").centre)
        self.assertTrue(self.wait_main("hidden", lambda m: not m.visible)[1],
                        "\"小到托盘\" did not hide the window")
        self.choose_tray_menu_item(1)
        self.assertTrue(self.wait_main("shown", lambda m: m.visible)[1],
                        "\"选项\" from the icon put back did not bring the window back")
        self.choose_tray_menu_item(3)
        self.assertTrue(program.wait_exit(10), "\"退出\" from the icon put back did not end the "
                                               "program")

