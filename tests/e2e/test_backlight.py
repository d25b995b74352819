"""The monitor's own backlight over DDC/CI, behind the simulated monitor: Ctrl + Left takes it down
before the overlay comes, also through handles Windows destroyed at a wake or with no message,
Ctrl + Right clears the overlay before it comes back up, "恢复默认" brings back the level first
read, also after a write that answered late, a held key sends where it ends, nothing is written
unasked, a monitor that lies or hangs leaves the overlay to do the work, and one without DDC/CI
keeps today's road."""

import os
import time

from lumenor_e2e import (DISPLAY_SIGNALS_CLASS, MENU_CLASS, PBT_APMRESUMEAUTOMATIC, TRAY_CAPTION,
                         WM_POWERBROADCAST, DesktopTestCase, config, click, key, ramp_file_text,
                         screenshot, straight_ramp, wait_for, xdotool)
from test_overlay import Overlay

GIVEN_UP_TEXT = "显示器 1 不接受背光调节，改用遮罩调暗。"


class Backlight(DesktopTestCase):
    overlay, wait_overlay, background_point = (Overlay.overlay, Overlay.wait_overlay,
                                               Overlay.background_point)
    assert_level, assert_grey = Overlay.assert_level, Overlay.assert_grey

    def start(self, **script):
        self.monitor = self.simulate_monitors({1: dict({"level": 80, "maximum": 100}, **script)})
        program, main = self.start_and_wait(env=self.monitor.env,
                                            default_dat=ramp_file_text(straight_ramp()))
        self.point = self.background_point(1280, 800)
        if script.get("ddc", 1):  # a display counts as without a backlight until it answers
            self.assertTrue(wait_for("first read", lambda: (self.monitor.state(1) or {}).get(
                "reads"), 5), "the monitor was never read")
            time.sleep(0.3)  # its answer delivered
        return program, main

    def wait_level(self, level, timeout=5.0):
        """Polls the monitor until its level is `level`; returns its last state."""
        state = wait_for("level %d" % level, lambda: (self.monitor.state(1) or {}).get(
            "level") == level and self.monitor.state(1), timeout)
        self.assertTrue(state, "the monitor stays at %s, expected %d" % (self.monitor.state(1),
                                                                         level))
        return state

    def press(self, combo, times=1):
        key(*[combo] * times, over=self.neutral_point())

    def assert_overlay(self, alpha, what):
        overlay, ok = self.wait_overlay("alpha %s" % alpha, lambda o: (
            o.visible and o.alpha == alpha) if alpha is not None else not o.visible)
        self.assertTrue(ok, "%s the overlay %s, expected %s" % (
            what, "shows at alpha %s" % overlay.alpha if overlay.visible else "is hidden",
            "alpha %d" % alpha if alpha is not None else "none"))
        self.assert_grey("backlight-%s" % alpha, self.point, alpha or 0, what)

    def assert_no_balloon(self, what):
        self.assertIsNone(self.wait_balloon(lambda text: text == GIVEN_UP_TEXT, 3),
                          "%s the monitor was said to refuse" % what)

    def step_through_destroyed_handles(self, level, wake):
        """Windows destroys the monitor's handles, at a wake or with no message, and Ctrl + Left
        goes on down the backlight on fresh ones."""
        dead_before = self.monitor.state(1)["dead_calls"]
        self.monitor.destroy_handles(1)
        what = "after a wake that destroyed the handles" if wake else "with the handles " \
            "destroyed without a message"
        if wake:
            self.assertTrue(self.probe.post(DISPLAY_SIGNALS_CLASS, WM_POWERBROADCAST,
                                            PBT_APMRESUMEAUTOMATIC), "no window hears a wake")
            time.sleep(0.5)
        self.press("ctrl+Left")
        state = self.wait_level(level)
        self.assert_overlay(None, what)
        if wake:  # asked for afresh before any call
            self.assertEqual(state["dead_calls"], dead_before, "a call on a destroyed handle %s"
                             % what)
        self.assert_no_balloon(what)

    def test_backlight_road_down_to_the_overlay_back_and_restored(self):
        self.start()
        self.press("ctrl+Left")
        self.wait_level(70)
        self.assert_overlay(None, "at backlight 70")
        self.menu_screenshot()
        self.step_through_destroyed_handles(60, wake=True)
        self.step_through_destroyed_handles(50, wake=False)
        self.press("ctrl+Left", 5)
        self.wait_level(0)
        self.assert_overlay(None, "at backlight 0")
        self.press("ctrl+Left")
        self.assert_overlay(126, "one Ctrl + Left past backlight 0")
        self.press("ctrl+Right", 26)
        self.assert_overlay(0, "26 x Ctrl + Right from -126")
        self.assertFalse(wait_for("backlight rising", lambda: self.monitor.state(1)["level"], 1),
                         "the backlight rose before the overlay was clear")
        self.press("ctrl+Right")
        self.wait_level(10)
        click(*self.button(self.main_window(), "恢复默认").centre)
        self.wait_level(80)

    def menu_screenshot(self):
        """The tray menu's "显示器" submenu with the backlight's level, for the README."""
        self.open_tray_menu()
        key("Up", "Up", "Right", delay_ms=150)  # "退出", "显示器", its first item
        time.sleep(1)
        shot = screenshot("display-menu-backlight")
        rects = [w.rect for w in self.probe.windows() if w.visible and w.cls == MENU_CLASS]
        rects.append(self.probe.window(TRAY_CAPTION).rect)
        shot.crop((min(r[0] for r in rects), min(r[1] for r in rects),
                   max(r[2] for r in rects) + 4, max(r[3] for r in rects) + 4),
                  os.path.join(config().out, "display-menu-backlight.png"))
        key("Escape", "Escape", delay_ms=150)

    def test_backlight_held_key_ends_at_0_and_nothing_is_written_unasked(self):
        self.start()
        time.sleep(6)  # past the 5 s tick
        self.assertEqual(self.monitor.state(1)["writes"], 0, "the monitor was written unasked")
        xdotool("mousemove", *self.neutral_point())
        xdotool("key", "--repeat", 60, "--delay", 33, "ctrl+Left")
        self.wait_level(0)
        time.sleep(1)
        self.assertLessEqual(self.monitor.state(1)["writes"], 8, "a held Ctrl + Left wrote %d "
                             "times for 8 steps" % self.monitor.state(1)["writes"])

    def test_backlight_ignored_goes_to_the_overlay_with_one_balloon(self):
        self.start(ignore_writes=1)
        self.press("ctrl+Left")
        balloon = self.wait_balloon(lambda text: text == GIVEN_UP_TEXT)
        self.assertIsNotNone(balloon, "no balloon %r; seen %s" % (GIVEN_UP_TEXT,
                                                                  [b.tip for b in self.balloons()]))
        self.press("ctrl+Left")
        self.assert_overlay(126, "Ctrl + Left on a monitor that ignores writes")
        self.assertFalse(wait_for("another balloon", lambda: [
            b for b in self.balloons() if b.hwnd != balloon.hwnd and b.tip == GIVEN_UP_TEXT],
            3.5, 0.3), "a second balloon came")

    def test_backlight_late_write_counts_and_is_put_back_by_restore(self):
        self.start(block_ms=5000)
        self.press("ctrl+Left")
        time.sleep(2.8)  # past the 2 s watchdog, the write still out
        self.press("ctrl+Left")
        self.assert_overlay(126, "Ctrl + Left while the write is out")
        self.wait_level(70, 5)
        click(*self.button(self.main_window(), "恢复默认").centre)
        self.wait_level(80)
        self.assert_grey("backlight-restored", self.point, 0, "after \"恢复默认\"")
        self.assert_no_balloon("for a write that answered late")

    def test_backlight_blocked_write_leaves_the_window_answering_and_exit_at_once(self):
        program, main = self.start(block_ms=15000)
        self.press("ctrl+Left")
        time.sleep(1)
        self.focus_slider(self.slider1(main))
        key("Prior")
        main, moved = self.wait_main("slider at -5", lambda m: self.slider1(m).pos == -5)
        self.assertTrue(moved, "with a write blocked the brightness slider stays at %s"
                        % self.slider1(main).pos)
        self.assertEqual(self.monitor.state(1)["writes"], 0, "the write did not block")
        click(*self.button(main, "退    出").centre)
        # With no call blocked it takes 3.9 s here: Wine without a window manager waits 2 s of
        # it for the main window to be withdrawn. The write blocks for 15 s.
        self.assertTrue(program.wait_exit(6), "lumenor.exe still runs 6 s after \"退    出\"")

    def test_backlight_without_ddc_keeps_the_overlay_road(self):
        self.start(ddc=0)
        time.sleep(1)  # its monitor asked
        self.press("ctrl+Left")
        self.assert_overlay(126, "one Ctrl + Left without DDC/CI")
        self.assertEqual(self.monitor.state(1)["writes"], 0, "a monitor without DDC/CI was "
                                                             "written")
        self.assertIsNone(self.wait_balloon(lambda text: text == GIVEN_UP_TEXT, 3),
                          "a monitor without DDC/CI was said to refuse")
