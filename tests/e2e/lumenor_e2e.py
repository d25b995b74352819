"""Helpers for the desktop scenarios: run the real lumenor.exe on the headless desktop, drive it
with real input (xdotool), and read back what a user would see (screenshots) and what the platform
holds (lumenor_probe, a Win32 console program run in the same Wine prefix and display).

run_e2e.py configures this module (configure()) before the scenarios load.
"""

import collections
import json
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

import simulated_monitors

MAIN_CAPTION = "显示器极限亮度调节-Tandwin增强版"
OVERLAY_CAPTION = "balck"
TRAY_CAPTION = "Wine System Tray"
TRAY_ICON_CLASS = "__winex11_tray_icon"
MESSAGE_BOX_CLASS = "#32770"
MENU_CLASS = "#32768"
MISSING_FILE_TEXT = "未找到默认数据文件，只能恢复到本次调置前的状态！"
MISSING_FILE_CAPTION = "系统提示"
SECOND_COPY_TEXT = "哥们,您已经运行一个了"
BANNER_TEXT = ("按住ctrl+←变黑,按住ctrl+→变亮,可实现显示器极限全黑(可欺骗关闭显示器)与高亮调节."
               "Tandwin专版.")
TWIPS_PER_PIXEL = 15  # at 96 DPI, which the headless desktop uses
HTCLOSE = 20
MOD_CONTROL = 2
VK_LEFT = 37
VK_RIGHT = 39
SCREEN_SIZES = ((1280, 800), (1024, 768))  # the modes the headless desktop offers, first is usual
SECOND_DISPLAY_SIZE = (1024, 768)  # the dummy output DUMMY1, attached by add_second_display
TRAY_FORM_CLASS = "mytray1"  # the hidden start-up window, with the icon, its menu and balloons
# The hidden window that hears the system's display notices (changes, resumes, unlocks).
DISPLAY_SIGNALS_CLASS = "LumenorDisplaySignals"
# A tray balloon shows under Wine as a visible top-level tooltip that answers WM_GETTEXT with its
# text (its window title stays empty).
TOOLTIP_CLASS = "tooltips_class32"
BALLOON_TITLE = "显示器亮度调节增强"
RAMP_REFUSED_TEXT = ("显示器不接受这一设置，画面保持上一次的设置。要更暗或更亮，请用“加强”或按住 "
                     "Ctrl+← / Ctrl+→。")
# How long a probe may take to report before it is taken for hung in Wine's own start-up and
# started again (Probe._run): a probe reports in 0.1-0.5 s with two displays and lumenor.exe
# starting beside it, and such a hang lasts 20 s and more. The last try waits as long as the
# caller allows.
PROBE_HANG_S = 8
PROBE_TRIES = 4
WM_POWERBROADCAST = 0x218
PBT_APMRESUMESUSPEND = 0x7
PBT_APMRESUMEAUTOMATIC = 0x12
WM_WTSSESSION_CHANGE = 0x2B1
WTS_CONSOLE_CONNECT = 0x1
WTS_SESSION_UNLOCK = 0x8

_config = None


class Config:
    def __init__(self, exe, probe, out):
        self.exe = os.path.abspath(exe)
        self.probe = os.path.abspath(probe)
        self.out = os.path.abspath(out)
        self.env = dict(os.environ, WINEDEBUG="-all")


def configure(exe, probe, out):
    global _config
    _config = Config(exe, probe, out)
    os.makedirs(_config.out, exist_ok=True)
    return _config


def config():
    if _config is None:
        raise RuntimeError("lumenor_e2e is not configured: run the scenarios through run_e2e.py")
    return _config


class DesktopError(AssertionError):
    """Something the desktop or a helper could not do; reported as a test failure."""


class DesktopTimeout(DesktopError):
    """A command that did not finish in time, or that ended at once saying nothing at all."""


def wait_for(what, predicate, timeout=10.0, interval=0.2):
    """Polls predicate until it returns a true value and returns that value; None on timeout."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= end:
            return None
        time.sleep(interval)


def wait_timed(what, predicate, timeout=10.0, interval=0.2):
    """As wait_for, and also when (time.monotonic()) the last poll that found the predicate false
    began: what was awaited happened after that, however long a poll takes on a loaded machine.
    Returns (value, that time); the time is None when the first poll found it true."""
    end = time.monotonic() + timeout
    still_false = None
    while True:
        began = time.monotonic()
        value = predicate()
        if value:
            return value, still_false
        still_false = began
        if began >= end:
            return None, still_false
        time.sleep(interval)


def run(cmd, timeout=30, check=True, env=None):
    """Runs a command and returns its standard output. The output goes through files, not pipes:
    a Wine process can hand its inherited descriptors to a service it starts, and a pipe would then
    never reach its end. `env` holds variables set on top of the scenarios' own."""
    started = time.monotonic()
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        proc = subprocess.Popen(cmd, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                env=dict(config().env, **(env or {})))
        try:
            proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            raise DesktopTimeout("%s did not finish within %d s" % (" ".join(cmd)[:200], timeout))
        out.seek(0)
        err.seek(0)
        stdout = out.read().decode("utf-8", "replace")
        stderr = err.read().decode("utf-8", "replace")
    if os.environ.get("LUMENOR_E2E_DEBUG"):
        print("  [%.2f s] %s" % (time.monotonic() - started, " ".join(cmd)[:160]), flush=True)
    if check and proc.returncode != 0:
        failure = DesktopTimeout if not (stdout.strip() or stderr.strip()) else DesktopError
        raise failure("%s failed (%d): %s" % (" ".join(cmd), proc.returncode,
                                              stderr.strip()[-400:]))
    return stdout


class Holder:
    """A command left running in the background whose output lines are read from a file."""

    def __init__(self, cmd):
        self.out = tempfile.NamedTemporaryFile(prefix="lumenor-e2e-holder-", delete=False)
        self.proc = subprocess.Popen(cmd, stdin=subprocess.DEVNULL, stdout=self.out,
                                     stderr=subprocess.DEVNULL, env=config().env)

    def lines(self):
        with open(self.out.name, "rb") as f:
            return [l for l in f.read().decode("utf-8", "replace").splitlines() if l.strip()]

    def first_report(self, timeout=20):
        found = wait_for("report", lambda: self.lines() or self.proc.poll() is not None, timeout,
                         0.05)
        lines = self.lines()
        if not found or not lines:
            self.stop()
            raise DesktopError("%s reported nothing" % " ".join(self.proc.args)[:200])
        return json.loads(lines[0])

    def reports(self, key):
        """The reports so far that carry `key`."""
        found = []
        for line in self.lines():
            try:
                data = json.loads(line)
            except ValueError:
                continue
            if key in data:
                found.append(data)
        return found

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.out.close()
        try:
            os.unlink(self.out.name)
        except OSError:
            pass


# ---- the probe ---------------------------------------------------------------------------------

def _probe_arg(arg):
    arg = str(arg)
    if all(ord(c) < 128 for c in arg):
        return arg
    return "hex:" + arg.encode("utf-8").hex()


def _tell_hang(what, hang):
    """Says in the scenarios' output that a probe was started again, so a run shows how often, and
    lets the X server look at its outputs before the next start: a hang came twice in a row after
    a display was switched on from outside, and Wine reads the outputs without probing them."""
    print("  [lumenor_probe %s: %s; started again]" % (what[:60], hang), flush=True)
    subprocess.run(["xrandr"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=10, check=False)


def _parse(out, what, reports=1):
    """The probe's first `reports` reports, one JSON document a line."""
    lines = out.strip().splitlines()
    found = []
    for line in lines[:reports]:
        try:
            data = json.loads(line)
        except ValueError:
            raise DesktopError("lumenor_probe %s printed no JSON: %r" % (what, out[:300]))
        if isinstance(data, dict) and "error" in data:
            raise DesktopError("lumenor_probe %s: %s" % (what, data["error"]))
        found.append(data)
    if len(found) < reports:
        raise DesktopError("lumenor_probe %s printed %d reports, expected %d: %r"
                           % (what, len(found), reports, out[:300]))
    return found


class Control:
    """A child window as the probe saw it."""

    def __init__(self, data):
        self.data = data
        self.hwnd = data["hwnd"]
        self.cls = data["class"]
        self.text = data["text"]
        r = data["rect"]
        self.rect = (r["left"], r["top"], r["right"], r["bottom"])
        self.visible = data["visible"]
        self.enabled = data["enabled"]
        self.focused = data.get("focused", False)
        self.pos = data.get("pos")
        self.min = data.get("min")
        self.max = data.get("max")
        self.check = data.get("check")
        self.style = data.get("style", 0)

    @property
    def centre(self):
        l, t, r, b = self.rect
        return ((l + r) // 2, (t + b) // 2)

    @property
    def width(self):
        return self.rect[2] - self.rect[0]

    @property
    def height(self):
        return self.rect[3] - self.rect[1]

    def __repr__(self):
        return "%s %r at %s" % (self.cls, self.text, self.rect)


class TopWindow:
    """A top-level window as the probe saw it, with its children."""

    def __init__(self, data):
        self.data = data
        self.hwnd = data["hwnd"]
        self.pid = data["pid"]
        self.cls = data["class"]
        self.text = data["text"]
        r, c = data["rect"], data["client"]
        self.rect = (r["left"], r["top"], r["right"], r["bottom"])
        self.client = (c["left"], c["top"], c["right"], c["bottom"])
        self.visible = data["visible"]
        self.topmost = data["topmost"]
        self.exstyle = data["exstyle"]
        self.layered = data.get("layered")
        self.tip = data.get("tip")  # a tooltip's text, a tray balloon's among them
        self.children = [Control(c) for c in data.get("children", [])]

    @property
    def alpha(self):
        return None if self.layered is None else self.layered["alpha"]

    def by_class(self, cls):
        return [c for c in self.children if c.cls.lower() == cls.lower()]

    def by_text(self, text, cls=None):
        for c in self.children:
            if c.text == text and (cls is None or c.cls.lower() == cls.lower()):
                return c
        return None

    def at_client(self, cls, left, top):
        """The child of that class whose top-left corner is nearest to (left, top) in client
        pixels."""
        best, best_d = None, None
        for c in self.by_class(cls):
            d = abs(c.rect[0] - self.client[0] - left) + abs(c.rect[1] - self.client[1] - top)
            if best is None or d < best_d:
                best, best_d = c, d
        return best

    def texts(self):
        return [c.text for c in self.children if c.text]


def _rect(r):
    return (r["left"], r["top"], r["right"], r["bottom"])


Monitor = collections.namedtuple("Monitor", "device rect primary")


class Probe:
    def __init__(self, path, env=None):
        self.path = path
        self.env = env  # variables for the probe's runs on top of the scenarios' own

    def _cmd(self, args):
        return ["wine", self.path] + [_probe_arg(a) for a in args]

    def call(self, *args, timeout=30):
        """Runs one probe command and returns its report."""
        return self._run(args, timeout)[0]

    def chain(self, *commands, timeout=30):
        """Runs probe commands one right after the other in one probe process (each a tuple of
        arguments) and returns their reports: what the system does and the notice it sends about
        it arrive together, with no tick of the program under test between them."""
        args = []
        for command in commands:
            args += (["then"] if args else []) + list(command)
        return self._run(args, timeout, len(commands))

    def _run(self, args, timeout, reports=1):
        # A Wine process started while another one starts (a probe right after lumenor.exe was
        # launched, above all with two displays) or while the X server's displays change can hang
        # in its own start-up for 20 s or more, and one started just after the registry was
        # exported ended once with nothing said; one started again goes through. A probe answers
        # within a second even on a loaded machine and never waits on lumenor.exe for longer than
        # 2 s, so one that has said nothing after PROBE_HANG_S is taken for such a hang and
        # started again.
        what = " ".join(str(a) for a in args)
        for attempt in range(1, PROBE_TRIES + 1):
            last = attempt == PROBE_TRIES
            try:
                out = run(self._cmd(args), timeout=timeout if last else min(timeout, PROBE_HANG_S),
                          env=self.env)
                return _parse(out, what, reports)
            except DesktopTimeout as hang:
                if last:
                    raise
                _tell_hang(what, hang)

    def window(self, caption):
        data = self.call("window", caption)
        return TopWindow(data) if data.get("found") else None

    def window_by_hwnd(self, hwnd):
        data = self.call("window", "--hwnd", hwnd)
        return TopWindow(data) if data.get("found") else None

    def windows(self):
        return [TopWindow(w) for w in self.call("windows")["windows"]]

    def gamma(self):
        data = self.call("gamma")
        if not data["ok"]:
            raise DesktopError("the display's gamma ramp cannot be read (GetDeviceGammaRamp "
                               "failed)")
        return data["ramp"]

    def set_gamma(self, ramp, *then):
        """Puts the ramp on the display; whether the display took it. With `then` (a probe
        command's arguments) that command runs right after it in the same probe process, as the
        system resets a display and then says so: returns (taken, the command's report)."""
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write(" ".join(str(v) for v in ramp) + "\n")
        try:
            if not then:
                return self.call("set-gamma", f.name)["ok"]
            put, report = self.chain(("set-gamma", f.name), then)
            return put["ok"], report
        finally:
            os.unlink(f.name)

    def atom_exists(self, name):
        return self.call("atom", name)["found"]

    def delete_atom(self, name):
        return self.call("delete-atom", name)

    def screen(self):
        data = self.call("screen")
        return (data["width"], data["height"])

    def monitors(self):
        """The displays attached as Windows programs see them (EnumDisplayMonitors), in its
        order."""
        return [Monitor(m["device"], _rect(m["rect"]), m["primary"])
                for m in self.call("monitors")["monitors"]]

    def display_on(self, cls):
        """Tells the top-level window of that class that the display came on, as the system does
        (WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, GUID_CONSOLE_DISPLAY_STATE 1 in a record in
        that window's process); False when there is no such window."""
        data = self.call("display-on", cls)
        return data.get("found", False) and data.get("posted", False)

    def load_library(self, path):
        """Loads a DLL into a probe process (Windows path or Unix path Wine can map) and frees it;
        whether it loaded."""
        return self.call("load-library", path)["loaded"]

    def modules(self, pid):
        """The files of the modules loaded in a process (its Windows process id)."""
        data = self.call("modules", pid)
        if not data["ok"]:
            raise DesktopError("the modules of process %d cannot be listed" % pid)
        return data["modules"]

    def set_resolution(self, width, height):
        """Changes the display's mode the way Windows does it (ChangeDisplaySettingsExW), which
        tells every window with WM_DISPLAYCHANGE. (An `xrandr -s` from outside changes the X screen
        but Wine 8 tells no window about it.)"""
        return self.call("set-resolution", width, height)["ok"]

    def post(self, cls, message, wparam=0, lparam=0):
        """Posts a message to the top-level window of that class, as the system posts its power and
        session notices; False when there is no such window."""
        data = self.call("post", cls, message, wparam, lparam)
        return data.get("found", False) and data.get("posted", False)

    def copy_data(self, cls, tag, data, times=1, tail=b""):
        """Sends WM_COPYDATA (dwData `tag`, `data` repeated `times` times, then `tail`) to the
        top-level window of that class, as any program may: what it answered, or None when it did
        not answer within 5 s or there is no such window."""
        answer = self.call("copy-data", cls, "%#x" % tag, data.hex(), times, tail.hex())
        return answer["result"] if answer.get("answered") else None

    def watch_display(self, seconds):
        """Starts a probe window that reports the WM_DISPLAYCHANGE messages it receives."""
        return self._start_holding(["watch-display", seconds], "watching")[0]

    def close_box(self, caption):
        data = self.call("nc-hit", caption, HTCLOSE)
        if not data.get("found") or not data.get("hit"):
            return None
        return (data["x"], data["y"])

    def _start_holding(self, args, first_key):
        for attempt in range(1, PROBE_TRIES + 1):  # hung in Wine's start-up as in _run: again
            holder = Holder(self._cmd(args))
            try:
                data = holder.first_report(PROBE_HANG_S if attempt < PROBE_TRIES else 20)
                break
            except DesktopError as hang:
                if attempt == PROBE_TRIES:
                    raise
                _tell_hang(args[0], hang)
        if first_key not in data:
            holder.stop()
            raise DesktopError("lumenor_probe %s: %s" % (args[0], data))
        return holder, data

    def hold_hotkey(self, mods, vk, seconds):
        """Starts a probe that registers the hotkey and holds it; returns (holder, report)."""
        return self._start_holding(["hold-hotkey", mods, vk, seconds], "registered")

    def hold_file(self, path, seconds):
        """Starts a probe that holds the file (a Windows path) without sharing it; returns
        (holder, report)."""
        return self._start_holding(["hold-file", path, seconds], "held")

    def topmost_window(self, seconds, x, y, w, h, rgb):
        """Starts a probe that shows a topmost window in a solid colour; returns (holder,
        report)."""
        return self._start_holding(["topmost-window", seconds, x, y, w, h, "%06x" % rgb], "shown")


# ---- screen and input --------------------------------------------------------------------------

class Screenshot:
    def __init__(self, path):
        self.path = path
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], capture_output=True,
                             timeout=30, check=True).stdout  # no Wine here: a pipe is safe
        self.width, self.height, self.pixels = _parse_ppm(ppm)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def colours(self, rect, step=1):
        l, t, r, b = rect
        l, t = max(l, 0), max(t, 0)
        r, b = min(r, self.width), min(b, self.height)
        seen = set()
        for y in range(t, b, step):
            row = y * self.width
            for x in range(l, r, step):
                i = (row + x) * 3
                seen.add(bytes(self.pixels[i:i + 3]))
        return seen

    def max_channel(self, rect=None, step=1):
        rect = rect or (0, 0, self.width, self.height)
        return max(max(c) for c in self.colours(rect, step))

    def crop(self, rect, path):
        l, t, r, b = rect
        subprocess.run(["convert", self.path, "-crop", "%dx%d+%d+%d" % (r - l, b - t, l, t),
                        "+repage", path], check=True, timeout=30)
        return path


def _parse_ppm(data):
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise DesktopError("unexpected screenshot format")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


_shot_counter = [0]


def screenshot(name):
    _shot_counter[0] += 1
    path = os.path.join(config().out, "%02d-%s.png" % (_shot_counter[0], name))
    run(["import", "-window", "root", path])
    return Screenshot(path)


def xdotool(*args):
    run(["xdotool"] + [str(a) for a in args])


def mouse_location():
    values = dict(line.split("=", 1) for line in run(["xdotool", "getmouselocation", "--shell"])
                  .splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"])


def mouse_move(x, y):
    # --sync waits for the pointer to arrive, and so for ever when it is there already.
    if mouse_location() != (x, y):
        xdotool("mousemove", "--sync", x, y)


def click(x, y, button=1):
    mouse_move(x, y)
    xdotool("click", button)


def drag(x, y, dx, steps=6):
    """Presses the left button at (x, y), moves it by dx in steps, and lets go."""
    mouse_move(x, y)
    xdotool("mousedown", 1)
    for k in range(1, steps + 1):
        xdotool("mousemove", "--sync", x + dx * k // steps, y)
    xdotool("mouseup", 1)


def key(*keys, over=None, delay_ms=40):
    """Presses keys as a user does. X hands keys to the window under the pointer here (there is no
    window manager to keep a focus), so the pointer is first put over a Wine window: `over`."""
    if over is not None:
        mouse_move(*over)
    xdotool("key", "--delay", delay_ms, *keys)


def xrandr_resolution(width, height):
    run(["xrandr", "-s", "%dx%d" % (width, height)])


def x_resolution():
    out = run(["xdpyinfo"])
    for line in out.splitlines():
        if "dimensions:" in line:
            w, h = line.split()[1].split("x")
            return int(w), int(h)
    return None


# ---- a second display -----------------------------------------------------------------------------
# The headless desktop's dummy driver has outputs DUMMY0 (the primary) to DUMMY15. Wine reads the
# outputs as the X server last reported them, so every change is followed by a plain xrandr query;
# Wine then follows within about a second but tells no window (no WM_DISPLAYCHANGE).

def second_display_on():
    """Whether X shows something on DUMMY1."""
    for line in run(["xrandr"]).splitlines():
        if line.startswith("DUMMY1 "):
            return re.search(r"\b\d+x\d+[+-]\d+[+-]\d+\b", line) is not None
    return False


def _wait_monitors(expected, what):
    probe = Probe(config().probe)
    seen = [None]

    def check():
        seen[0] = sorted(m.rect for m in probe.monitors())
        return seen[0] == sorted(expected)
    if wait_for(what, check, 10.0, 0.25) is None:
        raise DesktopError("%s: Wine still reports the displays %s, expected %s"
                           % (what, seen[0], sorted(expected)))


def add_second_display(where="right-of"):
    """Attaches a 1024x768 display right or left of the primary, as plugging one in does, and
    waits until Windows programs see it. Returns its rectangle in Windows coordinates, where the
    primary stays at (0, 0): (1280, 0, 2304, 768) or (-1024, 0, 0, 768) beside a 1280x800 one."""
    if where not in ("right-of", "left-of"):
        raise ValueError("a second display goes right-of or left-of the primary, not %r" % where)
    width, height = Probe(config().probe).screen()
    w2, h2 = SECOND_DISPLAY_SIZE
    mode = "%dx%d" % (w2, h2)
    run(["xrandr", "--addmode", "DUMMY1", mode])
    run(["xrandr", "--output", "DUMMY1", "--mode", mode, "--" + where, "DUMMY0"])
    run(["xrandr"])
    second = (width, 0, width + w2, h2) if where == "right-of" else (-w2, 0, 0, h2)
    _wait_monitors([(0, 0, width, height), second], "a second display %s the primary" % where)
    return second


def remove_second_display():
    """Switches DUMMY1 off, as unplugging a display does, and waits until Windows programs see one
    display. xrandr puts the primary back at the X origin when DUMMY1 was left of it."""
    run(["xrandr", "--output", "DUMMY1", "--off"])
    run(["xrandr"])
    width, height = Probe(config().probe).screen()
    _wait_monitors([(0, 0, width, height)], "the second display switched off")


# ---- the display's ramp and the ramp arithmetic -------------------------------------------------

def straight_ramp():
    return [i * 257 for i in range(256)] * 3


def word_to_level(entry):
    return entry if entry < 32768 else entry - 1


def level_to_word(level):
    return level if level <= 32767 else (level + 1) & 0xFFFF


def adjust_level(v, level):
    if v < 0:
        return round(((100 + v) * level) / 100)
    return round(65535 - ((100 - v) * (65535 - level)) / 100)


def brightness_ramp(saved, v):
    """The ramp the brightness slider at v gives from the reference ramp `saved`: every channel is
    built from the saved red channel."""
    out = [0] * 768
    for i in range(256):
        red = saved[i]
        value = red if v == 0 else level_to_word(adjust_level(v, word_to_level(red)))
        for c in range(3):
            out[c * 256 + i] = value
    return out


def colour_ramp(saved, values):
    """The ramp the three colour sliders at `values` (red, green, blue) give from `saved`: each
    channel is built from its own saved channel."""
    out = list(saved)
    for c, v in enumerate(values):
        if v == 0:
            continue
        for i in range(256):
            out[c * 256 + i] = level_to_word(adjust_level(v, word_to_level(saved[c * 256 + i])))
    return out


def high_bytes(ramp):
    return [v >> 8 for v in ramp]


def ramp_difference(seen, expected):
    """None when the high bytes agree, else a short description of the first differences."""
    diffs = [(k, s, e) for k, (s, e) in enumerate(zip(high_bytes(seen), high_bytes(expected)))
             if s != e]
    if not diffs:
        return None
    names = "red", "green", "blue"
    parts = ["%s[%d] high byte %d, expected %d" % (names[k // 256], k % 256, s, e)
             for k, s, e in diffs[:4]]
    return "%d entries differ: %s" % (len(diffs), "; ".join(parts))


# ---- the program under test ---------------------------------------------------------------------

def pids_running_from(directory):
    """The Unix processes whose command line names `directory` (Wine's path or the Unix one)."""
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                cmd = f.read().replace(b"\0", b" ").decode("utf-8", "replace")
        except OSError:
            continue
        if directory in cmd or directory.replace("/", "\\") in cmd:
            pids.append(int(entry))
    return pids


_log_counter = [0]


class Lumenor:
    """One lumenor.exe started from its own temporary directory (so a scenario can put Default.dat
    or tray.ico beside it), with a working directory elsewhere: the program must find its files in
    its own directory. `beside` and `in_cwd` map file names to bytes put in either; `env` holds
    variables set for this program on top of the scenarios' own; `args` goes on its command line."""

    def __init__(self, default_dat=None, tray_ico=None, directory=None, name="lumenor",
                 beside=None, in_cwd=None, env=None, args=()):
        cfg = config()
        self.owns_directory = directory is None
        self.directory = directory or tempfile.mkdtemp(prefix="lumenor-e2e-")
        self.exe = os.path.join(self.directory, "lumenor.exe")
        if not os.path.exists(self.exe):
            shutil.copy2(cfg.exe, self.exe)
        if default_dat is not None:
            with open(os.path.join(self.directory, "Default.dat"), "w", newline="") as f:
                f.write(default_dat)
        if tray_ico is not None:
            shutil.copy2(tray_ico, os.path.join(self.directory, "tray.ico"))
        for file_name, data in (beside or {}).items():
            with open(os.path.join(self.directory, file_name), "wb") as f:
                f.write(data)
        self.cwd = tempfile.mkdtemp(prefix="lumenor-e2e-cwd-")
        for file_name, data in (in_cwd or {}).items():
            with open(os.path.join(self.cwd, file_name), "wb") as f:
                f.write(data)
        _log_counter[0] += 1
        self.log = open(os.path.join(cfg.out, "lumenor-%02d-%s.log" % (_log_counter[0], name)),
                        "w")
        self.proc = subprocess.Popen(["wine", self.exe, *args], cwd=self.cwd, stdout=self.log,
                                     stderr=subprocess.STDOUT, env=dict(cfg.env, **(env or {})))

    @property
    def pid(self):
        return self.proc.pid

    def alive(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout=10.0):
        try:
            self.proc.wait(timeout=timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def stop(self):
        """Ends the program if it still runs, by its process id."""
        for sig, grace in ((signal.SIGTERM, 3.0), (signal.SIGKILL, 5.0)):
            if not self.alive():
                break
            try:
                self.proc.send_signal(sig)
            except ProcessLookupError:
                break
            self.wait_exit(grace)
        for pid in pids_running_from(self.directory):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.log.close()

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.cwd, ignore_errors=True)
        if self.owns_directory:
            shutil.rmtree(self.directory, ignore_errors=True)


def ramp_file_text(ramp, line_end="\r\n"):
    """Default.dat for a ramp: one line per input level with its red, green and blue entries in the
    signed reading, separated by commas."""
    lines = []
    for i in range(256):
        values = []
        for c in range(3):
            v = ramp[c * 256 + i]
            values.append(str(v - 65536 if v >= 32768 else v))
        lines.append(",".join(values))
    return line_end.join(lines) + line_end


# ---- the simulated monitor ----------------------------------------------------------------------

def simulated_monitor_dll():
    """The simulated monitor's dxva2.dll, built beside the probe (tests/e2e/CMakeLists.txt)."""
    return os.path.join(os.path.dirname(config().probe), "simulated-monitor", "dxva2.dll")


class SimulatedMonitors(simulated_monitors.SimulatedMonitors):
    """The simulated monitors (simulated_monitors.py) with the scenarios' dll and environment."""

    def __init__(self, monitors):
        super().__init__(simulated_monitor_dll(), monitors,
                         config().env.get("WINEDLLOVERRIDES", ""))


# ---- the base of every scenario -----------------------------------------------------------------

class DesktopTestCase(unittest.TestCase):
    """Each scenario starts from the straight ramp, one display at the usual resolution, no leftover
    Lumenor and none of its hotkey atoms, and leaves no lumenor.exe running and one display."""

    longMessage = False
    maxDiff = 2000

    @classmethod
    def setUpClass(cls):
        cls.probe = Probe(config().probe)

    def setUp(self):
        self.started = []
        self.holders = []
        self.restore_one_display()
        self.restore_resolution()
        leftover = self.probe.window(MAIN_CAPTION)
        if leftover is not None:
            self.fail("a Lumenor main window from an earlier scenario is still open (pid %d)"
                      % leftover.pid)
        for name in ("CONTROL+037", "CONTROL+039"):
            self.probe.delete_atom(name)
        if not self.probe.set_gamma(straight_ramp()):
            self.fail("the display refused the straight gamma ramp")
        self.start_ramp = self.probe.gamma()

    def tearDown(self):
        for holder in self.holders:
            holder.stop()
        for program in self.started:
            program.cleanup()
        self.restore_one_display()
        self.restore_resolution()
        wait_for("no Lumenor window", lambda: self.probe.window(MAIN_CAPTION) is None, 10)

    def restore_one_display(self):
        # X decides: Wine follows its outputs.
        if second_display_on():
            remove_second_display()

    def restore_resolution(self):
        if self.probe.screen() != SCREEN_SIZES[0]:
            self.probe.set_resolution(*SCREEN_SIZES[0])
        if x_resolution() != SCREEN_SIZES[0]:
            xrandr_resolution(*SCREEN_SIZES[0])

    # -- starting and finding --

    def start_lumenor(self, **kwargs):
        program = Lumenor(name=self._testMethodName, **kwargs)
        self.started.append(program)
        return program

    def simulate_monitors(self, monitors):
        """Installs a simulated monitor behind each display named (SimulatedMonitors) until the
        scenario ends; start the program with env=monitors.env to see them."""
        monitors = SimulatedMonitors(monitors)
        self.addCleanup(monitors.uninstall)
        return monitors

    def start_and_wait(self, **kwargs):
        program = self.start_lumenor(**kwargs)
        main = self.wait_main_window(program)
        return program, main

    def wait_main_window(self, program, timeout=20.0):
        def shown():
            w = self.probe.window(MAIN_CAPTION)
            return w if w is not None and w.visible else None
        main = wait_for("main window", shown, timeout)
        if main is None:
            state = "still runs" if program.alive() else "has ended (exit code %s)" % (
                program.proc.returncode,)
            self.fail("no window captioned %r appeared within %.0f s of starting lumenor.exe; the "
                      "program %s" % (MAIN_CAPTION, timeout, state))
        return main

    def main_window(self):
        main = self.probe.window(MAIN_CAPTION)
        if main is None:
            self.fail("the main window %r is gone" % MAIN_CAPTION)
        return main

    def hold(self, holder):
        self.holders.append(holder)
        return holder

    # -- controls by their place in the design --

    def control(self, main, cls, left_twips, top_twips, what):
        c = main.at_client(cls, round(left_twips / TWIPS_PER_PIXEL),
                           round(top_twips / TWIPS_PER_PIXEL))
        if c is None:
            self.fail("the main window has no %s (%s)" % (what, cls))
        return c

    def slider1(self, main):
        return self.control(main, "msctls_trackbar32", 1335, 255, "brightness slider Slider1")

    def slider2(self, main):
        return self.control(main, "msctls_trackbar32", 1380, 1365, "contrast slider Slider2")

    def colour_slider(self, main, k):
        tops = (360, 1065, 1770)
        return self.control(main, "msctls_trackbar32", 285 + 495, 1890 + tops[k],
                            "colour slider Slider3(%d)" % k)

    def darkness_bar(self, main):
        return self.control(main, "ScrollBar", 1485, 915, "darkness bar HScroll_setblack")

    def check_box(self, main):
        return self.control(main, "Button", 240, 825, "check box Check加强")

    def label2(self, main):
        return self.control(main, "Static", 1035, 360, "brightness value Label2")

    def label3(self, main):
        return self.control(main, "Static", 1035, 1365, "contrast value Label3")

    def label_zl_show(self, main):
        return self.control(main, "Static", 1020, 885, "darkness value Label_zl_show")

    def slider_thumb(self, slider):
        """Where the thumb of a slider whose value is mid-range (0 of -50..50) sits: the middle of
        the control, as the track runs symmetrically through it."""
        return slider.centre

    def focus_slider(self, slider):
        """Gives a slider the keyboard focus as a user does: a click on its thumb, which does not
        move it."""
        click(*self.slider_thumb(slider))
        main, focused = self.wait_main("slider focused",
                                       lambda m: any(c.hwnd == slider.hwnd and c.focused
                                                     for c in m.children))
        if not focused:
            self.fail("a click on a slider's thumb did not give it the keyboard focus")
        return main

    def button(self, main, text):
        b = main.by_text(text, "Button")
        if b is None:
            self.fail("the main window has no button %r (its texts: %s)" % (text, main.texts()))
        return b

    def neutral_point(self, main=None):
        """A point over a Wine window where a click does nothing: the banner at the foot of the main
        window, or else the caption of the Wine System Tray."""
        main = main or self.probe.window(MAIN_CAPTION)
        if main is not None and main.visible:
            l, t, r, b = main.client
            return (r - 8, b - 4)
        tray = self.probe.window(TRAY_CAPTION)
        if tray is not None and tray.visible:
            return (tray.rect[0] + 30, tray.rect[1] + 8)
        return (5, 5)

    # -- waiting for what a user sees --

    def assert_within(self, seconds, check, what, detail, since=None):
        """Polls check() until it holds (waiting up to twice `seconds`) and fails unless it held
        within `seconds` of `since` (now by default). Judged by when the last look that found it
        not holding began: a look is slow on a loaded machine, and that is not the program's."""
        since = time.monotonic() if since is None else since
        held, not_yet = wait_timed(what, check, 2 * seconds)
        if not held:
            self.fail("%s: not after %.1f s (%s)" % (what, 2 * seconds, detail()))
        late = (not_yet or since) - since
        self.assertLessEqual(late, seconds, "%s: only after %.1f s, expected within %.1f s (%s)"
                             % (what, late, seconds, detail()))

    def wait_main(self, what, predicate, timeout=5.0):
        """Polls the main window until predicate(main) holds; returns the last window seen and
        whether it held."""
        last = [None]

        def check():
            last[0] = self.probe.window(MAIN_CAPTION)
            return last[0] is not None and predicate(last[0])
        ok = wait_for(what, check, timeout) is not None
        return last[0], ok

    def wait_ramp(self, expected, timeout=5.0):
        """Polls the display's ramp until its high bytes equal expected's; returns the difference
        left (None when equal)."""
        diff = [None]

        def check():
            diff[0] = ramp_difference(self.probe.gamma(), expected)
            return diff[0] is None
        wait_for("ramp", check, timeout)
        return diff[0]

    def balloons(self):
        """The tray balloons (and tooltips) showing now, as top-level windows; `tip` is the text."""
        return [w for w in self.probe.windows()
                if w.cls.lower() == TOOLTIP_CLASS and w.visible and w.tip]

    def wait_balloon(self, predicate, timeout=8.0):
        """The first showing balloon whose text satisfies predicate; None when none comes. Wine's
        notification area shows a balloon about 2 s after the program asks for it."""
        return wait_for("balloon", lambda: next(
            (b for b in self.balloons() if predicate(b.tip)), None), timeout, 0.3)

    def tray_icons(self):
        tray = self.probe.window(TRAY_CAPTION)
        if tray is None or not tray.visible:
            return []
        return [c for c in tray.by_class(TRAY_ICON_CLASS) if c.visible]

    def message_boxes(self, pid=None):
        boxes = []
        for w in self.probe.windows():
            if w.cls == MESSAGE_BOX_CLASS and w.visible and (pid is None or w.pid == pid):
                full = self.probe.window_by_hwnd(w.hwnd)
                if full is not None:
                    boxes.append(full)
        return boxes

    def wait_message_box(self, caption=None, text=None, timeout=5.0):
        def find():
            for box in self.message_boxes():
                if caption is not None and box.text != caption:
                    continue
                if text is not None and text not in box.texts():
                    continue
                return box
            return None
        return wait_for("message box", find, timeout)

    def dismiss_with_enter(self, box):
        """Closes a message box as a user does with the Enter key."""
        l, t, r, b = box.client
        key("Return", over=((l + r) // 2, t + 6))
        gone = wait_for("message box closed",
                        lambda: self.probe.window_by_hwnd(box.hwnd) is None, 5)
        if not gone:
            self.fail("the message box %r did not close on Enter" % box.text)

    def open_tray_menu(self):
        icons = self.tray_icons()
        if not icons:
            self.fail("no icon shows in the notification area (the Wine System Tray)")
        click(*icons[0].centre, button=3)
        menu = wait_for("tray menu", lambda: next(
            (w for w in self.probe.windows() if w.cls == MENU_CLASS and w.visible), None), 5)
        if menu is None:
            self.fail("a right-click on the tray icon opened no menu")
        return menu

    def choose_tray_menu_item(self, index, count=4):
        """Opens the icon's menu and clicks its item `index` (0 "Tandwin专版", 1 "选项", 2 "设置",
        3 "退出"); the menu's items are text items of equal height."""
        menu = self.open_tray_menu()
        l, t, r, b = menu.rect
        border = 3
        height = (b - t - 2 * border) / count
        click((l + r) // 2, int(t + border + height * (index + 0.5)))
        wait_for("menu closed", lambda: self.probe.window_by_hwnd(menu.hwnd) is None
                 or not self.probe.window_by_hwnd(menu.hwnd).visible, 5)

    def close_with_close_box(self, caption=MAIN_CAPTION):
        point = self.probe.close_box(caption)
        if point is None:
            self.fail("the main window shows no close box in its caption")
        click(*point)
        gone = wait_for("main window unloaded", lambda: self.probe.window(caption) is None, 5)
        if not gone:
            self.fail("a click on the close box did not close the main window")

    def end_with_exit_button(self, program):
        main = self.main_window()
        click(*self.button(main, "退    出").centre)
        if not program.wait_exit(10):
            self.fail("lumenor.exe still runs 10 s after a click on \"退    出\"")
