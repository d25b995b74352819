"""The simulated monitor behind the real dxva2 calls: installed for a scenario, it is what the
program's backlight seam opens, and what it was told shows from the outside."""

import os
import time

from lumenor_e2e import DesktopTestCase, config, run


def contract_tests():
    """The Win32 contract tests, built one directory above the probe (tests/CMakeLists.txt)."""
    return os.path.join(os.path.dirname(os.path.dirname(config().probe)),
                        "lumenor_contract_tests.exe")


class SimulatedMonitor(DesktopTestCase):

    def test_the_backlight_seam_reads_and_writes_the_simulated_monitor(self):
        # Clone mode: a laptop panel without DDC/CI first, then the external monitor.
        monitors = self.simulate_monitors({1: {"level": 80, "maximum": 120, "null_handles": 1,
                                               "physical": 2, "no_ddc_at": 1}})
        before = time.time()
        out = run(["wine", contract_tests(), "--gtest_filter=Win32Backlights_Open.*"],
                  timeout=60, check=False,
                  env=dict(monitors.env, LUMENOR_SIMULATED_MONITOR="1"))
        self.assertIn("[  PASSED  ] 1 test", out, out[-2000:])
        state = monitors.state(1)
        self.assertIsNotNone(state, "the simulated monitor was never asked")
        self.assertEqual((state["level"], state["writes"]), (30, 1),
                         "the monitor was not told 30 once")
        self.assertEqual(state["open"], 0, "physical monitor handles were not destroyed")
        self.assertEqual(state["dead_calls"], 1, "the call on a destroyed handle did not fail")
        # The last write's and read's times are on the system clock a benchmark sets its key
        # presses beside: within the run, the read-back after the write.
        after = time.time()
        for k in ("last_write_ms", "last_read_ms"):
            self.assertTrue(before - 1 <= state[k] / 1e3 <= after + 1,
                            "%s %d is not between %.0f and %.0f" % (k, state[k], before * 1e3,
                                                                   after * 1e3))
        self.assertLessEqual(state["last_write_ms"], state["last_read_ms"],
                             "the write was not read back")
        self.assertGreaterEqual(state["calls"], state["reads"] + state["writes"],
                                "calls counts fewer than the calls answered")
