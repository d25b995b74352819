"""The program starts on the desktop, shows its main window with something drawn in it, and ends."""

from lumenor_e2e import DesktopTestCase, MAIN_CAPTION, screenshot


class Foundation(DesktopTestCase):
    def test_starts_shows_a_drawn_main_window_and_ends(self):
        program, main = self.start_and_wait()
        self.assertTrue(program.alive(), "lumenor.exe ended by itself after showing its window")

        shot = screenshot("foundation")
        l, t, r, b = main.client
        colours = shot.colours((l, t, r, b), step=2)
        self.assertGreater(len(colours), 1,
                           "the main window %r is blank: its whole client area %s is one colour %s "
                           "in %s" % (MAIN_CAPTION, main.client, colours, shot.path))

        self.end_with_exit_button(program)
        self.assertIsNone(self.probe.window(MAIN_CAPTION),
                          "the main window is still there after the program ended")
