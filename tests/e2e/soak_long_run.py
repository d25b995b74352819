"""The long run: one lumenor.exe takes thousands of hotkeys and slider notifications and over a
hundred close-box and "选项" cycles, then a hundred cycles of a second display switched off and on
from outside while its main window is closed and shown, each with a wake that destroys the
monitor's handles; it keeps answering, there is an overlay for every display after each of them,
and neither its memory nor any count of its windows and handles grows once it has warmed up.

The primary display's monitor answers DDC/CI (the simulated monitor): the hotkeys walk the whole
road, the held keys across the backlight stage, and after the hundred wakes the backlight is still
driven, every call went to a live handle and no more handles are open than before them.

Not part of the default run (scripts/soak runs it). LUMENOR_SOAK_SCALE scales every load (1 is the
full run; 0.05 is a quick rehearsal). The figures go to stdout and to soak-figures.json in --out.

Counted from outside, as Wine answers 0 to GetGuiResources and GetProcessHandleCount: the process's
resident and private memory (/proc of its Wine process), its top-level and child windows (the
probe enumerates them), and the live count of every owning handle holder of the program per kind
(windows, icons, menus, fonts, brushes, bitmaps, other GDI objects, device contexts, kernel
handles), which its tray window answers to a registered message.

The judge takes private memory, every count, and shared memory beyond the window surfaces (one SysV
segment each) that Wine's device-context cache keeps after their window is gone (docs/long-run.md has
the evidence): shared memory may grow by whole segments only, fewer than one per
CYCLES_PER_KEPT_SURFACE cycles (a surface kept per show would be one per cycle), and otherwise by
no more than the slack.
"""

import collections
import json
import os
import time

from lumenor_e2e import (DISPLAY_SIGNALS_CLASS, OVERLAY_CAPTION, PBT_APMRESUMEAUTOMATIC,
                         WM_POWERBROADCAST, DesktopTestCase, add_second_display, brightness_ramp,
                         config, key, mouse_move, pids_running_from, remove_second_display, run,
                         wait_for, xdotool)

SCALE = float(os.environ.get("LUMENOR_SOAK_SCALE", "1"))
HOTKEY_EVENTS = round(2000 * SCALE)
SLIDER_NOTIFICATIONS = round(5000 * SCALE)
CYCLES = max(round(60 * SCALE), 21)  # close-box and "选项" cycles on one display
WARM_UP_CYCLES = 20
# The second display switched off and on, with one close-box and "选项" cycle each; every cycle
# waits for two 5 s ticks of the program, so they take about 10 s each.
DISPLAY_CYCLES = max(round(100 * SCALE), 7)
DISPLAY_WARM_UP_CYCLES = 5
OVERLAY_WAIT_SECONDS = 12  # two ticks and the second Wine takes to follow xrandr
MEMORY_SLACK_KB = 256
CYCLES_PER_KEPT_SURFACE = 20
TRAY_WINDOW_CLASS = "mytray1"
DARK_END, BRIGHT_END, STEP = -255, 255, 5
# The primary display's monitor: its backlight from 80 of 100, a tenth of its range a step.
BACKLIGHT_START, BACKLIGHT_STEPS = 8, 10


def step_darker(v):
    if v - STEP > DARK_END:
        v -= STEP
    return DARK_END if v - STEP <= DARK_END else v


def step_brighter(v):
    if v + STEP < BRIGHT_END:
        v += STEP
    return BRIGHT_END if v + STEP >= BRIGHT_END else v


class Road:
    """The darkness road as the hotkeys walk it, from the white overlay (加强 ticked, the bar above
    0) through the backlight (in steps) to the black overlay (ticked, below 0): where the bar, 加强,
    the backlight and the label showing the value the overlay applied last stand. Each load of the
    main window puts the bar and 加强 back, so they are read from the window before each walk."""

    def __init__(self, value, label):
        self.value, self.enhance, self.backlight, self.label = value, False, BACKLIGHT_START, label

    def bar(self, value):
        self.value, self.enhance, self.label = value, True, str(value)

    def step(self, darker):
        if darker:
            if self.backlight > 0:
                if not (self.enhance and self.value > 0):
                    self.backlight -= 1
                    return
                if self.value - STEP < 0:
                    return self.bar(0)
            return self.bar(step_darker(self.value))
        if self.backlight < BACKLIGHT_STEPS:
            if not self.enhance or self.value == 0:
                self.backlight += 1
                return
            if self.value < 0 and self.value + STEP > 0:
                return self.bar(0)
        return self.bar(step_brighter(self.value))


# A slider key and what it does to the position of a slider over -50..50.
SLIDER_KEYS = {
    "Left": lambda v: max(v - 1, -50),
    "Right": lambda v: min(v + 1, 50),
    "Prior": lambda v: max(v - 5, -50),
    "Next": lambda v: min(v + 5, 50),
    "Home": lambda v: -50,
    "End": lambda v: 50,
}


def wine_process(directory):
    """The Unix process id of the Wine process that runs lumenor.exe from `directory`: of the
    processes whose command line names it, the one with the most resident memory."""
    best, best_rss = None, -1
    for pid in pids_running_from(directory):
        try:
            rss = memory_kb(pid)["resident_total"]
        except OSError:
            continue
        if rss > best_rss:
            best, best_rss = pid, rss
    return best


def memory_kb(pid):
    """Resident and private memory of a process in KB. Resident is split: `resident` is the
    process's own memory in RAM (anonymous and shared-memory pages), `file` the pages of mapped
    files it has touched (DLL code, the CJK font file), which the system can drop and read again
    and which vary with the glyphs drawn last; `resident_total` is both. Private is what the
    process has written (Private_Dirty): clean pages of a file count as private only while no other
    process maps the same file, so the 2.3 MB of the CJK font come and go with the probe's runs.
    `shared` is the resident shared memory, `surfaces` the sizes of its SysV segments (Wine's
    window surfaces, a window's size rounded up to 32 pixels, 4 bytes a pixel)."""
    figures = {}
    fields = {"VmRSS:": "resident_total", "RssAnon:": "anon", "RssShmem:": "shared",
              "RssFile:": "file"}
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            name = line.split(":")[0] + ":"
            if name in fields:
                figures[fields[name]] = int(line.split()[1])
    figures["resident"] = figures.pop("anon") + figures["shared"]
    # One pass over the mappings: private memory is their Private_Dirty summed (what smaps_rollup
    # would say), the segments are the mappings of SysV shared memory.
    private, surfaces, in_segment = 0, [], False
    with open("/proc/%d/smaps" % pid) as f:
        for line in f:
            if line[0] in "0123456789abcdef" and not line.split()[0].endswith(":"):
                in_segment = "/SYSV" in line
            elif line.startswith("Private_Dirty:"):
                private += int(line.split()[1])
            elif in_segment and line.startswith("Size:"):
                surfaces.append(int(line.split()[1]))
    figures["private"] = private
    figures["surfaces"] = sorted(surfaces)
    return figures


class Soak(DesktopTestCase):

    def setUp(self):
        super().setUp()
        # Fast key repeat, so a held key crosses the whole darkness bar in about two seconds.
        run(["xset", "r", "rate", "250", "50"])
        self.samples = []
        self.hotkeys = 0
        self.held_seconds = 0.0
        self.slider_keys = 0
        self.drag_moves = 0
        self.cycles = 0
        self.display_cycles = 0

    def tearDown(self):
        run(["xset", "r", "rate"], check=False)
        super().tearDown()

    # -- figures --

    def measure(self, label, quiet=False):
        census = self.probe.call("census", self.win_pid, TRAY_WINDOW_CLASS)
        sample = {"label": label, "cycles": self.cycles, "hotkeys": self.hotkeys,
                  "slider": self.slider_keys + self.drag_moves}
        sample.update(memory_kb(self.unix_pid))
        sample["top"] = census["top"]
        sample["children"] = census["children"]
        sample["classes"] = census["classes"]
        sample["counts"] = census["counts"]
        sample["monitor"] = self.monitor.state(1)
        self.assertTrue(census["answered"], "at %s a window of the program did not answer "
                                            "WM_GETTEXT within 2 s" % label)
        self.assertIsNotNone(census["counts"], "at %s the program's tray window is gone" % label)
        self.samples.append(sample)
        if not quiet:
            print("  soak %-26s rss %6d KB (own %6d, shared %5d, files %6d)  private %6d KB  "
                  "windows %2d+%3d  %s  monitor %s"
                  % (label, sample["resident_total"], sample["resident"], sample["shared"],
                     sample["file"], sample["private"], sample["top"], sample["children"],
                     " ".join("%s %d" % kv for kv in sample["counts"].items()),
                     " ".join("%s %d" % (k, sample["monitor"][k]) for k in
                              ("level", "open", "opened", "dead_calls"))), flush=True)
        return sample

    def assert_flat(self, baseline, final, cycles, span):
        """The judge between two samples of the same state `cycles` cycles apart (see above)."""
        growth = final["private"] - baseline["private"]
        self.assertLessEqual(growth, MEMORY_SLACK_KB, "private memory grew by %d KB %s"
                             % (growth, span))
        kept = collections.Counter(final["surfaces"]) - collections.Counter(baseline["surfaces"])
        allowed = max(1, cycles // CYCLES_PER_KEPT_SURFACE)
        self.assertLessEqual(sum(kept.values()), allowed,
                             "%d more shared memory segments (%s KB) %s, more than one per %d "
                             "cycles" % (sum(kept.values()), sorted(kept.elements()), span,
                                         CYCLES_PER_KEPT_SURFACE))
        beyond = final["shared"] - baseline["shared"] - sum(kept.elements())
        self.assertLessEqual(beyond, MEMORY_SLACK_KB, "shared memory grew by %d KB beyond the "
                                                      "segments kept %s" % (beyond, span))
        self.assertEqual((final["top"], final["children"], final["classes"]),
                         (baseline["top"], baseline["children"], baseline["classes"]),
                         "the program's windows changed %s" % span)
        self.assertEqual(final["counts"], baseline["counts"],
                         "the program's live handles changed %s" % span)

    # -- loads --

    def darkness(self, main):
        return self.darkness_bar(main).pos, self.label_zl_show(main).text

    def expect_darkness(self, value, what, label=None):
        label = str(value) if label is None else label
        main, ok = self.wait_main("darkness %d" % value,
                                  lambda m: self.darkness(m) == (value, label), 10)
        self.assertTrue(ok, "after %s the darkness bar stands at %s reading %r, expected %d "
                        "reading %r" % ((what,) + self.darkness(main) + (value, label)))
        return main

    def expect_backlight(self, what):
        level = self.road.backlight * 100 // BACKLIGHT_STEPS
        self.assertTrue(wait_for("backlight %d" % level, lambda: (self.monitor.state(1) or {}).get(
            "level") == level, 5), "after %s the monitor's backlight is at %s, expected %d"
            % (what, self.monitor.state(1), level))

    def press_hotkeys(self, main, presses):
        """Presses Ctrl + Left and Ctrl + Right as listed; checks where the bar and the backlight
        end."""
        if not presses:
            return main
        self.sync_road(main)
        for combo in presses:
            self.road.step(combo == "ctrl+Left")
        key(*presses, over=self.neutral_point(main), delay_ms=12)
        self.hotkeys += len(presses)
        main = self.expect_darkness(self.road.value, "%d hotkeys" % len(presses), self.road.label)
        self.expect_backlight("%d hotkeys" % len(presses))
        return main

    def sync_road(self, main):
        self.road.value, self.road.label = self.darkness(main)
        self.road.enhance = self.check_box(main).check == 1

    def presses_until(self, main, combo, reached):
        """The presses of `combo` that walk the road until `reached(road)`."""
        self.sync_road(main)
        road, presses = Road(self.road.value, self.road.label), []
        road.enhance, road.backlight = self.road.enhance, self.road.backlight
        while not reached(road):
            road.step(combo == "ctrl+Left")
            presses.append(combo)
        return presses

    def hold_hotkey(self, main, combo, seconds):
        """Holds a hotkey long enough to run the bar to its end across the backlight stage; the
        key repeats."""
        mouse_move(*self.neutral_point(main))
        start = self.darkness_bar(main).pos
        xdotool("keydown", combo)
        time.sleep(seconds)
        xdotool("keyup", combo)
        self.held_seconds += seconds
        darker = combo == "ctrl+Left"
        end = DARK_END if darker else BRIGHT_END
        main = self.expect_darkness(end, "holding %s for %.1f s" % (combo, seconds))
        backlight = 0 if darker else BACKLIGHT_STEPS
        # At least as many as the bar and the backlight moved.
        self.hotkeys += abs(end - start) // STEP + abs(backlight - self.road.backlight)
        self.road.bar(end)
        self.road.backlight = backlight
        self.expect_backlight("holding %s for %.1f s" % (combo, seconds))
        return main

    def slider_keys_burst(self, main, keys):
        """Keys on the brightness slider, which has the focus; checks the slider and Label2."""
        value = self.slider1(main).pos
        for k in keys:
            value = SLIDER_KEYS[k](value)
        key(*keys, delay_ms=4)
        self.slider_keys += len(keys)
        main, ok = self.wait_main("slider %d" % value,
                                  lambda m: (self.slider1(m).pos, self.label2(m).text)
                                  == (value, str(value)), 10)
        self.assertTrue(ok, "after %d keys the brightness slider is at %s reading %r, expected %d"
                        % (len(keys), self.slider1(main).pos, self.label2(main).text, value))
        return main

    def drag_slider(self, main, moves):
        """Drags the brightness slider's thumb (at 0) left and right, `moves` pointer moves."""
        slider = self.slider1(main)
        x, y = self.slider_thumb(slider)
        mouse_move(x, y)
        chain = ["mousedown", "1"]
        for k in range(moves):
            phase = k % 40
            dx = -3 * phase if phase < 20 else -3 * (40 - phase)
            chain += ["mousemove", str(x + dx - 1 if k % 2 else x + dx), str(y)]
        chain += ["mousemove", str(x), str(y), "mouseup", "1"]
        xdotool(*chain)
        self.drag_moves += moves
        main, ok = self.wait_main("drag back at 0",
                                  lambda m: (self.slider1(m).pos, self.label2(m).text) == (0, "0"))
        self.assertTrue(ok, "after a drag that ended where it began the brightness slider is at "
                            "%s reading %r" % (self.slider1(main).pos, self.label2(main).text))
        return main

    def load_round(self, main, hotkeys, slider_keys, drag_moves):
        """Some of each load on the shown window; the brightness ends at 0 so a reload reads the
        start-up ramp again."""
        half = hotkeys // 2
        if hotkeys:
            main = self.press_hotkeys(main, ["ctrl+Left"] * half + ["ctrl+Right"] * (hotkeys - half))
        main = self.focus_slider(self.slider1(main))
        order = ["Left", "Prior", "Right", "Next", "Home", "Left", "End", "Prior", "Next"]
        keys = [order[k % len(order)] for k in range(max(slider_keys - 11, 0))]
        main = self.slider_keys_burst(main, keys + ["Home"] + ["Next"] * 10)
        if drag_moves:
            main = self.drag_slider(main, drag_moves)
        return main

    def show_main(self, menu_items=5):
        """"选项" from the tray icon's menu (with a backlight or several displays it has the
        "显示器" item too)."""
        self.choose_tray_menu_item(1, menu_items)
        main, shown = self.wait_main("shown", lambda m: m.visible, 10)
        self.assertTrue(shown, "cycle %d: \"选项\" did not bring the window back" % self.cycles)
        self.cycles += 1
        return main

    def cycle(self):
        """The close box, then "选项" from the tray icon's menu."""
        self.close_with_close_box()
        return self.show_main()

    def wait_overlays(self, displays, what):
        """Polls until the program shows one overlay ("balck") for each of `displays` displays;
        the program sees a change made from outside on its 5 s tick."""
        seen = [None]

        def follows():
            seen[0] = [w.rect for w in self.probe.windows()
                       if w.pid == self.win_pid and w.text == OVERLAY_CAPTION and w.visible]
            return len(seen[0]) == displays
        self.assertIsNotNone(wait_for("overlays", follows, OVERLAY_WAIT_SECONDS, 0.25),
                             "display cycle %d: %s the program shows overlays at %s for %d "
                             "displays %d s later" % (self.display_cycles, what, seen[0],
                                                      displays, OVERLAY_WAIT_SECONDS))

    def wake(self):
        """The system wakes from sleep, across which Windows destroyed the monitor's handles."""
        self.monitor.destroy_handles(1)
        self.assertTrue(self.probe.post(DISPLAY_SIGNALS_CLASS, WM_POWERBROADCAST,
                                        PBT_APMRESUMEAUTOMATIC), "no window hears a wake")

    def display_cycle(self):
        """The second display switched off from outside and the main window closed while the
        overlays follow; a wake; the display switched on again and, once they follow, "选项"."""
        remove_second_display()
        self.close_with_close_box()
        self.wait_overlays(1, "after the second display went off")
        self.wake()
        add_second_display()
        self.wait_overlays(2, "after the second display came back")
        main = self.show_main(menu_items=5)
        self.display_cycles += 1
        return main

    # -- the run --

    def test_long_run_keeps_memory_and_every_count_flat(self):
        # The second display's monitor has no DDC/CI: it keeps the overlay's road.
        self.monitor = self.simulate_monitors({1: {"level": 80, "maximum": 100}, 2: {"ddc": 0}})
        program, main = self.start_and_wait(env=self.monitor.env)
        self.assertTrue(wait_for("first read", lambda: (self.monitor.state(1) or {}).get("reads"),
                                 5), "the monitor was never read")
        time.sleep(0.3)  # its answer delivered
        self.road = Road(*self.darkness(main))
        self.win_pid = main.pid
        self.unix_pid = wine_process(program.directory)
        self.assertIsNotNone(self.unix_pid, "the Wine process of lumenor.exe was not found")
        started = time.monotonic()
        self.measure("start")

        # Warm-up: a little of everything per cycle, so first uses settle before the baseline.
        for _ in range(WARM_UP_CYCLES):
            main = self.load_round(main, 4, 15, 0)
            main = self.cycle()
        # The whole road once, so the overlays' first showing (past the backlight) is warm too.
        main = self.hold_hotkey(main, "ctrl+Left", 3.0)
        main = self.hold_hotkey(main, "ctrl+Right", 3.0)
        main = self.drag_slider(self.focus_slider(self.slider1(main)), 40)
        baseline = self.measure("after %d cycles" % self.cycles)

        # The bulk of the hotkeys and slider notifications, then the remaining cycles with a share
        # of each load in every one.
        remaining_cycles = CYCLES - WARM_UP_CYCLES
        per_cycle_hotkeys = 4
        per_cycle_slider = 15
        bulk_hotkeys = max(HOTKEY_EVENTS - self.hotkeys - remaining_cycles * per_cycle_hotkeys, 0)
        holds = 0
        target = self.hotkeys + bulk_hotkeys
        while self.hotkeys < target:
            main = self.hold_hotkey(main, "ctrl+Left" if holds % 2 == 0 else "ctrl+Right", 3.0)
            holds += 1
            main = self.press_hotkeys(main, (["ctrl+Right"] * 40 + ["ctrl+Left"] * 40)
                                      if holds % 2 else (["ctrl+Left"] * 40 + ["ctrl+Right"] * 40))
        self.measure("after the hotkeys")
        bulk_slider = max(SLIDER_NOTIFICATIONS - (self.slider_keys + self.drag_moves)
                          - remaining_cycles * per_cycle_slider, 0)
        target = self.slider_keys + self.drag_moves + bulk_slider
        while self.slider_keys + self.drag_moves < target:
            main = self.load_round(main, 0, 200, 0)
            main = self.drag_slider(main, 120)
        self.measure("after the sliders")

        for k in range(remaining_cycles):
            main = self.load_round(main, per_cycle_hotkeys, per_cycle_slider, 0)
            main = self.cycle()
            if k % 20 == 19:
                self.measure("after %d cycles" % self.cycles)
        final = self.measure("after %d cycles, one display" % self.cycles)

        # Every display: a second display, then switched off and on from outside, the overlays
        # showing (one Ctrl+Left) and the main window closed and shown in every cycle.
        # Ctrl + Left until the black overlay shows, across the backlight first.
        main = self.press_hotkeys(main, self.presses_until(
            main, "ctrl+Left", lambda road: road.enhance and road.value < 0))
        add_second_display()
        self.wait_overlays(2, "after a second display was attached")
        for _ in range(DISPLAY_WARM_UP_CYCLES):
            main = self.display_cycle()
        display_baseline = self.measure("after %d display cycles" % self.display_cycles)
        monitor_baseline = self.monitor.state(1)
        while self.display_cycles < DISPLAY_CYCLES:
            main = self.display_cycle()
            sample = self.measure("after %d display cycles" % self.display_cycles,
                                  quiet=self.display_cycles % 20 != 0)
            self.assertEqual((sample["top"], sample["children"], sample["counts"]),
                             (display_baseline["top"], display_baseline["children"],
                              display_baseline["counts"]),
                             "after display cycle %d the program's windows or live handles "
                             "differ from %d display cycles" % (self.display_cycles,
                                                                DISPLAY_WARM_UP_CYCLES))
        display_final = self.measure("end")

        # After the wakes the backlight is still driven, on live handles only, none of them kept.
        main = self.press_hotkeys(main, self.presses_until(main, "ctrl+Right",
                                                           lambda road: road.backlight > 0))
        monitor_final = self.monitor.state(1)
        self.assertEqual(monitor_final["dead_calls"], 0, "calls on handles destroyed at a wake")
        self.assertEqual(monitor_final["open"], monitor_baseline["open"],
                         "physical-monitor handles kept open across %d wakes"
                         % (self.display_cycles - DISPLAY_WARM_UP_CYCLES))
        self.assertGreater(monitor_final["opened"], monitor_baseline["opened"],
                           "the handles were never asked for afresh after a wake")

        # The program ends with "退    出": no atom of ours stays, the display keeps the last ramp
        # (the brightness at 0 on the start-up ramp), and the icon is gone.
        self.end_with_exit_button(program)
        for name in ("CONTROL+037", "CONTROL+039"):
            self.assertFalse(self.probe.atom_exists(name), "after the end the global atom %r is "
                                                           "still there" % name)
        self.assertIsNone(self.wait_ramp(brightness_ramp(self.start_ramp, 0), 2),
                          "after the end the display does not keep the last ramp")
        self.assertTrue(wait_for("icon gone", lambda: not self.tray_icons(), 5),
                        "the tray icon stays after the program ended")

        figures = {"hotkeys": self.hotkeys, "held_seconds": round(self.held_seconds, 1),
                   "slider_keys": self.slider_keys, "drag_moves": self.drag_moves,
                   "cycles": self.cycles, "display_cycles": self.display_cycles,
                   "seconds": round(time.monotonic() - started), "samples": self.samples}
        with open(os.path.join(config().out, "soak-figures.json"), "w") as f:
            json.dump(figures, f, indent=1, ensure_ascii=False)
        print("  soak: %d hotkey events (%.0f s held), %d slider keys, %d drag moves, %d cycles (%d "
              "of them with the second display switched off and on) in %d s"
              % (self.hotkeys, self.held_seconds, self.slider_keys, self.drag_moves, self.cycles,
                 self.display_cycles, figures["seconds"]), flush=True)

        # Each pair measured on the shown window, so the same windows exist.
        self.assert_flat(baseline, final, CYCLES - WARM_UP_CYCLES,
                         "from %d cycles to the last on one display" % WARM_UP_CYCLES)
        self.assert_flat(display_baseline, display_final, DISPLAY_CYCLES - DISPLAY_WARM_UP_CYCLES,
                         "from %d display cycles to the end" % DISPLAY_WARM_UP_CYCLES)
