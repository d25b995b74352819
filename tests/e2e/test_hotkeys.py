"""The system-wide hotkeys of the running program: Ctrl + Left arrow and Ctrl + Right arrow step the
darkness bar by 5 while the main window is loaded and stop when its close box unloads it; a
combination that another program holds is left to that program, and the tray balloon says so."""

import time

from lumenor_e2e import (BALLOON_TITLE, MOD_CONTROL, VK_LEFT, DesktopTestCase, click, key,
                         wait_for)

HOTKEY_TAKEN_LEAD = "热键 %s 已被其他程序占用："


class Hotkeys(DesktopTestCase):

    def darkness(self, main):
        return self.darkness_bar(main).pos, self.label_zl_show(main).text

    def press(self, combo, expected, main_before):
        key(combo, over=self.neutral_point(main_before))
        main, ok = self.wait_main("darkness %d" % expected,
                                  lambda m: self.darkness(m) == (expected, str(expected)))
        self.assertTrue(ok, "after %s the darkness bar stands at %s and Label_zl_show reads %r, "
                            "expected %d and \"%d\"" % ((combo,) + self.darkness(main)
                                                        + (expected, expected)))
        return main

    def test_ctrl_arrows_step_the_darkness_until_the_close_box_releases_them(self):
        program, main = self.start_and_wait()
        for name in ("CONTROL+037", "CONTROL+039"):
            self.assertTrue(self.probe.atom_exists(name),
                            "the running program holds no global atom %r for its hotkey" % name)

        main = self.press("ctrl+Left", -126, main)
        main = self.press("ctrl+Left", -131, main)
        main = self.press("ctrl+Right", -126, main)
        self.assertEqual((self.slider1(main).pos, self.slider2(main).pos),
                         (0, 100), "the hotkeys moved the brightness or contrast slider")
        self.assertIsNone(self.wait_ramp(self.start_ramp, timeout=0.5),
                          "the hotkeys changed the display's gamma ramp")
        overlay = self.probe.window("balck")
        alpha_before = overlay.alpha if overlay is not None else None

        self.close_with_close_box()
        gone = wait_for("atoms gone", lambda: not any(
            self.probe.atom_exists(n) for n in ("CONTROL+037", "CONTROL+039")), 5)
        self.assertTrue(gone, "after the close box the global atoms \"CONTROL+037\" and "
                              "\"CONTROL+039\" are still there")

        # Ctrl + Left is free again: another program can take it and receives the key.
        holder, report = self.probe.hold_hotkey(MOD_CONTROL, VK_LEFT, 4)
        self.hold(holder)
        self.assertTrue(report["registered"],
                        "after the close box Ctrl + Left is still taken (another program's "
                        "registration failed with error %s)" % report.get("error"))
        key("ctrl+Left", "ctrl+Right", over=self.neutral_point())
        time.sleep(0.5)
        overlay = self.probe.window("balck")
        alpha_after = overlay.alpha if overlay is not None else None
        self.assertEqual(alpha_after, alpha_before,
                         "after the close box Ctrl + arrows still change the overlay (alpha %s "
                         "became %s)" % (alpha_before, alpha_after))
        self.assertEqual(len(holder.reports("hotkey")), 1,
                         "Ctrl + Left pressed after the close box did not reach the program that "
                         "took it over")
        self.assertTrue(program.alive(), "the program ended with its main window's close box")

    def test_hotkeys_keep_working_while_the_window_is_hidden_to_the_tray(self):
        program, main = self.start_and_wait()
        click(*self.button(main, "小到托盘").centre)
        main, hidden = self.wait_main("hidden", lambda m: not m.visible)
        self.assertTrue(hidden, "\"小到托盘\" did not hide the main window")
        key("ctrl+Left", "ctrl+Left", "ctrl+Left", over=self.neutral_point())
        main, stepped = self.wait_main("stepped", lambda m: self.darkness(m) == (-136, "-136"))
        self.assertTrue(stepped, "three Ctrl + Left with the window hidden in the tray left the "
                                 "darkness at %s / %r, expected -136" % self.darkness(main))
        overlay = self.probe.window("balck")
        self.assertTrue(overlay is not None and overlay.visible and overlay.alpha == 136,
                        "with the window hidden the hotkeys did not bring up the overlay at alpha "
                        "136")

    def test_ctrl_left_taken_by_another_program_is_left_to_it_and_the_balloon_says_so(self):
        holder, report = self.probe.hold_hotkey(MOD_CONTROL, VK_LEFT, 60)
        self.hold(holder)
        self.assertTrue(report["registered"], "the probe could not take Ctrl + Left first (error "
                                              "%s)" % report.get("error"))
        program, main = self.start_and_wait()
        # The balloon first: the program takes it down 10 s after asking for it at start.
        lead = HOTKEY_TAKEN_LEAD % "Ctrl+←"
        balloon = self.wait_balloon(lambda text: text.startswith("热键 "))
        self.assertIsNotNone(balloon, "with Ctrl + Left taken the tray icon showed no balloon "
                                      "(balloons: %s)" % [b.tip for b in self.balloons()])
        boxes = [(b.text, b.texts()) for b in self.message_boxes()]
        self.assertFalse(boxes, "with Ctrl + Left taken the program showed %s" % boxes)
        self.assertTrue(program.alive(), "with Ctrl + Left taken by another program lumenor.exe "
                                         "ended")
        reason = balloon.tip[len(lead):]
        self.assertTrue(balloon.tip.startswith(lead) and reason.strip() == reason and reason,
                        "the balloon (titled %r) reads %r, expected %r followed by the system's "
                        "text for the failure" % (BALLOON_TITLE, balloon.tip, lead))

        main = self.press("ctrl+Right", -116, main)
        key("ctrl+Left", over=self.neutral_point(main))
        time.sleep(0.7)
        main = self.main_window()
        self.assertEqual(self.darkness(main), (-116, "-116"),
                         "Ctrl + Left, held by another program, still stepped Lumenor's darkness "
                         "to %s / %r" % self.darkness(main))
        self.assertEqual(len(holder.reports("hotkey")), 1,
                         "Ctrl + Left did not reach the program that holds it")
        self.assertTrue(program.alive(), "lumenor.exe ended")
