"""The command line for scripts: a second start hands its command to the running copy and ends with
an exit code that says what happened, without "哥们,您已经运行一个了"; a first start with a command
runs in the tray and carries it out; a command it does not know, or data another program sends,
changes nothing, and the start ends with 2; /tray with a copy running ends quietly."""

import time

from lumenor_e2e import (MAIN_CAPTION, SECOND_COPY_TEXT, TRAY_FORM_CLASS, DesktopTestCase,
                         ramp_file_text, straight_ramp, wait_for)
from test_overlay import Overlay

COMMAND_TAG = 0x4C756D436D643031  # WM_COPYDATA's dwData of a second start's command


class CommandLine(DesktopTestCase):
    overlay, wait_overlay, background_point = (Overlay.overlay, Overlay.wait_overlay,
                                               Overlay.background_point)
    assert_level, assert_grey = Overlay.assert_level, Overlay.assert_grey

    def command(self, first, *args, timeout=10.0):
        """Starts lumenor.exe from the first copy's folder with the arguments; its exit code."""
        second = self.start_lumenor(directory=first.directory, args=args)
        self.assertTrue(second.wait_exit(timeout), "lumenor.exe %s still runs after %.0f s"
                        % (" ".join(args), timeout))
        self.assertEqual(self.message_boxes(), [], "lumenor.exe %s showed a message box"
                         % " ".join(args))
        return second.proc.returncode

    def assert_overlay_at(self, alpha, what):
        overlay, ok = self.wait_overlay("alpha %d" % alpha,
                                        lambda o: o.visible and o.alpha == alpha)
        self.assertTrue(ok, "%s the overlay %s, expected alpha %d" % (
            what, "shows at alpha %s" % overlay.alpha if overlay and overlay.visible
            else "is hidden", alpha))
        self.assert_grey("command-%d" % alpha, self.background_point(1280, 800), alpha, what)

    def test_command_to_a_running_copy_takes_effect_and_ends_with_0(self):
        first, main = self.start_and_wait(default_dat=ramp_file_text(straight_ramp()))
        self.assertEqual(self.command(first, "/darkness", "-200"), 0,
                         "lumenor.exe /darkness -200 with a copy running")
        self.assert_overlay_at(200, "after lumenor.exe /darkness -200")
        self.assertIsNone(self.wait_message_box(text=SECOND_COPY_TEXT, timeout=1),
                          "the second start said %r" % SECOND_COPY_TEXT)
        main = self.main_window()
        self.assertEqual((self.darkness_bar(main).pos, self.label_zl_show(main).text),
                         (-200, "-200"), "the main window does not show the darkness -200")
        # With the main window closed the road still takes commands, and /show loads it again.
        self.close_with_close_box()
        self.assertEqual(self.command(first, "/darker", "2"), 0, "lumenor.exe /darker 2")
        self.assert_overlay_at(210, "after lumenor.exe /darker 2 with the main window closed")
        self.assertEqual(self.command(first, "/Restore"), 0, "lumenor.exe /Restore")
        self.assert_grey("command-restored", self.background_point(1280, 800), 0,
                         "after lumenor.exe /Restore with the main window closed")
        self.assertEqual(self.command(first, "/show"), 0, "lumenor.exe /show")
        self.wait_main_window(first, 5)
        self.assertEqual(self.command(first, "-EXIT"), 0, "lumenor.exe -EXIT")
        self.assertTrue(first.wait_exit(10), "the running copy still runs after -EXIT")

    def test_command_with_no_copy_running_starts_one_in_the_tray(self):
        program = self.start_lumenor(args=["/darkness", "-200"])
        self.assert_overlay_at(200, "after a first start with /darkness -200")
        self.assertTrue(program.alive(), "the copy started with /darkness -200 ended")
        self.assertTrue(wait_for("icon", self.tray_icons, 5), "no icon in the notification area")
        main = self.probe.window(MAIN_CAPTION)
        self.assertFalse(main is not None and main.visible,
                         "the main window shows after a start with a command")

    def test_backlight_command_at_start_and_to_the_running_copy(self):
        monitor = self.simulate_monitors({1: {"level": 80, "maximum": 100}})
        first = self.start_lumenor(args=["/backlight", "30"], env=monitor.env)
        # The monitor answers after the command was taken.
        self.assertTrue(wait_for("level 30", lambda: (monitor.state(1) or {}).get("level") == 30,
                                 10), "a start with /backlight 30 left the monitor at %s"
                        % monitor.state(1))
        self.assertEqual(self.command(first, "/BACKLIGHT", "55"), 0, "lumenor.exe /BACKLIGHT 55")
        self.assertTrue(wait_for("level 55", lambda: monitor.state(1)["level"] == 55, 5),
                        "lumenor.exe /BACKLIGHT 55 left the monitor at %s" % monitor.state(1))

    def test_bad_command_ends_with_2_and_changes_nothing(self):
        first, main = self.start_and_wait()
        self.assertEqual(self.command(first, "/bogus"), 2, "lumenor.exe /bogus")
        with open(self.started[-1].log.name, encoding="utf-8", errors="replace") as log:
            said = log.read()
        self.assertIn("/backlight P", said, "lumenor.exe /bogus wrote no usage to its output")
        for args in (("/darkness", "-256"), ("/darker", "x"), ("/darker", "/lighter")):
            self.assertEqual(self.command(first, *args), 2, "lumenor.exe %s" % " ".join(args))
        self.assertEqual(self.command(first, "/tray"), 0, "lumenor.exe /tray with a copy running")
        # Data from other programs: another tag, a megabyte, an odd byte count, UTF-8.
        darkness = "/darkness -200".encode("utf-16-le")
        blank = " ".encode("utf-16-le")
        for what, tag, data, times, tail in (
                ("another tag", 0x1234, darkness, 1, b""),
                ("a megabyte", COMMAND_TAG, blank, 512 * 1024 - len(darkness) // 2, darkness),
                ("an odd byte count", COMMAND_TAG, darkness[:-1], 1, b""),
                ("UTF-8", COMMAND_TAG, "/darkness -200".encode(), 1, b"")):
            self.assertEqual(self.probe.copy_data(TRAY_FORM_CLASS, tag, data, times, tail), 0,
                             "the running copy did not refuse %s" % what)
        time.sleep(1)
        overlay = self.overlay()
        self.assertFalse(overlay is not None and overlay.visible,
                         "the overlay shows after bad commands")
        main = self.main_window()
        self.assertEqual(self.darkness_bar(main).pos, -121,
                         "the darkness bar moved after bad commands")
        self.assertTrue(first.alive(), "the running copy ended after bad commands")
        self.assertEqual(self.probe.copy_data(TRAY_FORM_CLASS, COMMAND_TAG, darkness), 1,
                         "the running copy refused a command sent the way a second start does")
