"""The level on screen and the wheel on the tray icon: Ctrl + Left shows "遮罩 49%" in a panel near
the bottom centre of the display, above the overlay, gone within 3 s, and none once "显示调节提示"
is unchecked; with a simulated monitor the first step shows the backlight; the wheel turned towards
the user on the icon makes one darker step, and turned elsewhere nothing."""

import os
import time

from lumenor_e2e import (OVERLAY_CAPTION, DesktopTestCase, config, key, mouse_move, screenshot,
                         wait_for, xdotool)
# The modules, not their classes: a TestCase class in this module's namespace would run here again.
import test_backlight
import test_overlay
import test_settings

PANEL_CLASS = "LumenorLevelPanel"
SCREEN = (0, 0, 1280, 800)


class LevelPanel(DesktopTestCase):
    darkness, settings_item = test_settings.Settings.darkness, test_settings.Settings.settings_item
    background_point = test_overlay.Overlay.background_point
    start_with_monitor = test_backlight.Backlight.start

    def showing(self):
        """The panel and the overlay as the probe sees them now (top of the z-order first)."""
        windows = [w for w in self.probe.windows() if w.visible]
        panel = next((w for w in windows if w.cls == PANEL_CLASS), None)
        above = panel is not None and all(
            w.text != OVERLAY_CAPTION for w in windows[:windows.index(panel)])
        return panel, above

    def wait_panel(self, text, what, timeout=3.0):
        seen = [None]

        def check():
            seen[0] = self.showing()[0]
            return seen[0] is not None and seen[0].text == text
        self.assertTrue(wait_for("panel", check, timeout, 0.1), "%s: the panel reads %r, expected "
                        "%r" % (what, seen[0] and seen[0].text, text))
        return seen[0]

    def assert_stepped(self, expected, what):
        main, ok = self.wait_main("darkness %d" % expected,
                                  lambda m: self.darkness(m) == (expected, str(expected)))
        self.assertTrue(ok, "%s the darkness reads %s / %r, expected %d"
                        % ((what,) + self.darkness(main) + (expected,)))

    def test_ctrl_left_shows_the_level_near_the_bottom_centre_above_the_overlay_for_a_moment(self):
        program, main = self.start_and_wait()
        key("ctrl+Left", over=self.neutral_point(main))
        shown = time.monotonic()
        panel = self.wait_panel("遮罩 49%", "after one Ctrl + Left")
        self.assertTrue(self.showing()[1], "the panel is below the overlay")
        self.assertEqual(self.main_window().data["focus"], main.data["focus"],
                         "the panel took the keyboard focus")
        l, t, r, b = panel.rect
        self.assertLessEqual(abs((l + r) / 2 - (SCREEN[0] + SCREEN[2]) / 2), 2,
                             "the panel at %s is not centred on the display" % (panel.rect,))
        self.assertTrue(SCREEN[3] * 3 / 4 <= t < b <= SCREEN[3],
                        "the panel at %s is not near the bottom of the display" % (panel.rect,))
        # What the user sees: the bar's white stretch bright through no overlay.
        white = (l + (r - l) // 4, b - 18)
        shot = [None]

        def bright():
            shot[0] = screenshot("level-panel-shown")
            return min(shot[0].pixel(*white)) >= 200
        self.assertTrue(wait_for("panel on screen", bright, 1.2, 0.2), "the panel's bar at %s "
                        "reads %s on screen (%s)" % (white, shot[0].pixel(*white), shot[0].path))
        shot[0].crop((l - 40, t - 30, r + 40, b + 30), os.path.join(config().out, "level-panel.png"))
        self.assertTrue(wait_for("panel gone", lambda: self.showing()[0] is None, 3.2, 0.1),
                        "the panel still shows 3 s after the step")
        self.assertLess(time.monotonic() - shown, 3.5)

    def test_no_panel_once_show_level_is_unchecked_and_kept_so(self):
        program, main = self.start_and_wait()
        self.settings_item(4)  # "显示调节提示"
        ini = os.path.join(program.directory, "lumenor.ini")
        self.assertTrue(wait_for("kept", lambda: os.path.exists(ini), 5), "no lumenor.ini written")
        with open(ini, encoding="utf-8") as f:
            self.assertIn("show_level=0\n", f.read())
        key("ctrl+Left", over=self.neutral_point(self.main_window()))
        self.assert_stepped(-126, "with \"显示调节提示\" unchecked, after Ctrl + Left")
        self.assertFalse(wait_for("panel", lambda: self.showing()[0], 2, 0.1),
                         "a panel showed with \"显示调节提示\" unchecked")

    def test_first_ctrl_left_with_a_backlight_shows_the_backlight(self):
        self.start_with_monitor()
        key("ctrl+Left", over=self.neutral_point())
        self.wait_panel("背光 70%", "after the first Ctrl + Left with a monitor at 80 of 100")

    def test_wheel_towards_the_user_on_the_icon_steps_darker_and_elsewhere_nothing(self):
        program, main = self.start_and_wait()
        icons = self.tray_icons()
        self.assertTrue(icons, "no icon shows in the notification area")
        mouse_move(*icons[0].centre)
        time.sleep(0.5)  # the icon's move reaches the program, which starts to watch the wheel
        xdotool("click", 5)
        self.assert_stepped(-126, "after one notch towards the user on the icon")
        self.wait_panel("遮罩 49%", "after one notch on the icon")
        # Elsewhere over a window of Wine's: the main window's caption, away from the icon.
        mouse_move(main.rect[0] + 40, main.rect[1] + 10)
        time.sleep(0.5)
        xdotool("click", 5)
        time.sleep(1)
        self.assert_stepped(-126, "after a notch away from the icon")
