"""Two displays: Ctrl + Left dims both, the tray menu's "显示器" turns the dimming of one off, a
display switched off or on from outside is followed within the 5 s tick, and the ramp reaches the
displays and comes back when the system says a display came on."""

import time

from lumenor_e2e import (DISPLAY_SIGNALS_CLASS, OVERLAY_CAPTION, SCREEN_SIZES, DesktopTestCase,
                         add_second_display,
                         brightness_ramp, key, remove_second_display, screenshot, straight_ramp,
                         wait_for, wait_timed)
from test_overlay import GREY, TOLERANCE, dimmed

PRIMARY = (0, 0) + SCREEN_SIZES[0]
TICK = 6.5  # the 5 s tick, and time for Wine to see the change


def misread(pixel, alpha):
    """Whether a pixel of the grey desktop is not what black at that alpha over it gives."""
    return any(abs(c - dimmed(GREY, alpha)) > TOLERANCE for c in pixel)


class Displays(DesktopTestCase):

    def setUp(self):
        super().setUp()
        self.second = add_second_display("right-of")  # DesktopTestCase.tearDown switches it off

    def overlays(self):
        return [w for w in self.probe.windows() if w.text == OVERLAY_CAPTION and w.visible]

    def wait_overlays(self, rects, timeout=5.0):
        """Polls until the showing overlays cover exactly `rects`; returns what they covered last
        and whether it matched."""
        seen, ok, _ = self.wait_overlays_timed(rects, timeout)
        return seen, ok

    def wait_overlays_timed(self, rects, timeout):
        """As wait_overlays, and when the last look that found them elsewhere began."""
        seen = [None]

        def check():
            seen[0] = sorted(w.rect for w in self.overlays())
            return seen[0] == sorted(rects)
        ok, elsewhere_at = wait_timed("overlays", check, timeout)
        return seen[0], bool(ok), elsewhere_at

    def assert_followed_within_a_tick(self, rects, what):
        """The overlays cover `rects` by the program's next 5 s tick after `what` (judged by the
        last look that still found them elsewhere, however slow the looks are)."""
        changed = time.monotonic()
        seen, ok, elsewhere_at = self.wait_overlays_timed(rects, 2 * TICK)
        self.assertTrue(ok, "%.1f s after %s the dimming covers %s, expected %s"
                        % (2 * TICK, what, seen, sorted(rects)))
        late = (elsewhere_at or changed) - changed
        self.assertLessEqual(late, TICK, "the dimming still covered other places %.1f s after %s, "
                                         "expected it to follow within the 5 s tick" % (late, what))

    def bare_point(self, rect):
        """A point of the display `rect` where only the desktop and the overlays show."""
        windows = [w for w in self.probe.windows()
                   if w.visible and w.text != OVERLAY_CAPTION and w.rect[2] > w.rect[0]]
        l, t, r, b = rect
        for x, y in ((r - 120, b - 90), (r - 60, t + 60), (l + 60, b - 60)):
            if not any(w.rect[0] <= x < w.rect[2] and w.rect[1] <= y < w.rect[3] for w in windows):
                return x, y
        self.fail("no bare desktop left on %s: %s" % (rect, [(w.text, w.rect) for w in windows]))

    def assert_levels(self, name, wanted, timeout=5.0):
        """Screenshots until every (display name, point, alpha) shows grey through black at that
        alpha."""
        seen = [None, None]

        def check():
            shot = screenshot(name)
            seen[0], seen[1] = shot, [shot.pixel(*p) for _, p, _ in wanted]
            return not any(misread(pixel, a) for pixel, (_, _, a) in zip(seen[1], wanted))
        if wait_for(name, check, timeout, 0.3) is None:
            self.fail("; ".join("%s at %s reads %s, expected about %.0f (%s)"
                                % (what, p, pixel, dimmed(GREY, a),
                                   "undimmed" if a == 0 else "dimmed at alpha %d" % a)
                                for pixel, (what, p, a) in zip(seen[1], wanted)
                                if misread(pixel, a))
                      + " (%s)" % seen[0].path)

    def darken(self):
        """Starts the program and presses Ctrl + Left once: both displays dim at alpha 126."""
        program, main = self.start_and_wait()
        key("ctrl+Left", over=self.neutral_point(main))
        main, stepped = self.wait_main("darkness -126",
                                       lambda m: self.darkness_bar(m).pos == -126)
        self.assertTrue(stepped, "Ctrl + Left did not step the darkness bar to -126")
        seen, ok = self.wait_overlays([PRIMARY, self.second])
        self.assertTrue(ok, "after Ctrl + Left the dimming covers %s, expected display 1 %s and "
                            "display 2 %s" % (seen, PRIMARY, self.second))
        alphas = [w.alpha for w in self.overlays()]
        self.assertEqual(alphas, [126, 126], "after Ctrl + Left the displays are dimmed at alphas "
                                             "%s, expected 126 on both" % alphas)
        return program

    def test_ctrl_left_darkens_both_displays(self):
        self.darken()
        self.assert_levels("displays-dark", [("display 1", self.bare_point(PRIMARY), 126),
                                             ("display 2", self.bare_point(self.second), 126)])

    def test_the_tray_submenu_turns_the_dimming_of_display_2_off(self):
        program = self.darken()
        self.open_tray_menu()
        # Up: "退出", Up: "显示器", Right: its first item "显示器 1", Down: "显示器 2", Return.
        key("Up", "Up", "Right", "Down", "Return", delay_ms=150)
        seen, ok = self.wait_overlays([PRIMARY])
        self.assertTrue(program.alive(), "choosing \"显示器 2\" in the tray menu's \"显示器\" ended "
                                         "the program")
        self.assertTrue(ok, "after unticking \"显示器 2\" in the tray menu's \"显示器\" the dimming "
                            "covers %s, expected only display 1 %s" % (seen, PRIMARY))
        self.assert_levels("display-2-off", [("display 1", self.bare_point(PRIMARY), 126),
                                             ("display 2", self.bare_point(self.second), 0)])

    def test_displays_switched_off_and_on_from_outside_are_followed_within_a_tick(self):
        self.darken()
        remove_second_display()
        self.assert_followed_within_a_tick([PRIMARY], "display 2 was switched off")
        # Left of the primary: X moves its origin but Windows keeps the primary at (0, 0), so the
        # windows' rectangles tell, not the screenshots.
        left = add_second_display("left-of")
        self.assert_followed_within_a_tick([left, PRIMARY],
                                           "a display was switched on left of display 1")
        alphas = [w.alpha for w in self.overlays()]
        self.assertEqual(alphas, [126, 126], "the display switched on is dimmed at alphas %s, "
                                             "expected 126 like display 1" % alphas)

    def darker_by_slider(self):
        """Page Up on the brightness slider (-5); returns the ramp that gives."""
        program, main = self.start_and_wait()
        self.focus_slider(self.slider1(main))
        key("Prior")
        main, moved = self.wait_main("slider at -5", lambda m: self.slider1(m).pos == -5)
        self.assertTrue(moved, "Page Up left the brightness slider at %s, expected -5"
                        % self.slider1(main).pos)
        expected = brightness_ramp(self.start_ramp, -5)
        diff = self.wait_ramp(expected)
        self.assertIsNone(diff, "with two displays, brightness -5 did not reach the display's ramp: "
                                "%s" % diff)
        return expected

    def test_a_brightness_step_writes_the_ramp_which_comes_back_when_the_display_comes_on(self):
        expected = self.darker_by_slider()
        # The system puts its own ramp on a display that comes on, then says so: one step, so that
        # the program's 5 s tick, which also puts a reset ramp back, cannot come between.
        taken, told = self.probe.set_gamma(straight_ramp(), "display-on", DISPLAY_SIGNALS_CLASS)
        self.assertTrue(taken, "the straight ramp was refused")
        self.assertTrue(told.get("found") and told.get("posted"),
                        "the program has no window of class %s to hear that the display came on"
                        % DISPLAY_SIGNALS_CLASS)
        diff = self.wait_ramp(expected)
        self.assertIsNone(diff, "after the display came on the screen stays at the system's ramp "
                                "instead of brightness -5: %s" % diff)
