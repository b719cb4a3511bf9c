"""One copy of Vexilo in a scratch directory, started, watched and closed like a person would.

The executable is copied into the scratch directory, so settings.dat and System/ land there.
The program is found by its caption and its process id; message boxes are new top-level
windows captioned with the application title, which the harness screenshots and dismisses
with the keyboard.
"""
import os
import shutil
import subprocess
import time
from dataclasses import dataclass

import numpy as np

from .image import changed_pixels, write_png

MAIN_CAPTION = "Vexilo ver. 0.1"
BOX_CAPTION = "Vexilo"

# The window's design geometry at 96 dpi, measured from the client area's edges: the
# settings group along the bottom, the button and the page-size box at a fixed distance
# from the right edge, the number box filling the rest of the group's width.
GROUP_HEIGHT = 105


@dataclass
class Rect:
    x: int
    y: int
    w: int
    h: int

    @property
    def centre(self):
        return (self.x + self.w // 2, self.y + self.h // 2)

    def tuple(self):
        return (self.x, self.y, self.w, self.h)


class Layout:
    """Screen rectangles of the main window's controls, from its current client rect."""

    def __init__(self, x, y, w, h):
        self.window = Rect(x, y, w, h)
        gy = y + h - GROUP_HEIGHT
        self.chart = Rect(x, y, w, h - GROUP_HEIGHT)
        self.memo = Rect(x + 5, gy + 18, w - 207, 82)
        self.button = Rect(x + w - 186, gy + 16, 179, 25)
        self.spin = Rect(x + w - 80, gy + 47, 73, 22)

    @property
    def spin_up(self):
        # The two arrow buttons sit stacked inside the right edge of the box.
        return (self.spin.x + self.spin.w - 7, self.spin.y + 6)

    @property
    def spin_down(self):
        return (self.spin.x + self.spin.w - 7, self.spin.y + self.spin.h - 6)

    @property
    def spin_text(self):
        return (self.spin.x + 20, self.spin.y + self.spin.h // 2)


@dataclass
class Box:
    caption: str
    window: int
    rect: tuple
    screenshot: str
    over_main: bool


class ProgramError(AssertionError):
    pass


class Program:
    def __init__(self, ctx, workdir):
        self.ctx = ctx
        self.session = ctx.session
        self.workdir = workdir
        self.exe = os.path.join(workdir, "Vexilo")
        self.proc = None
        self.main = None  # TopWindow of the main window
        self.layout = None
        self.boxes = []
        self.runs = 0
        self.copied = False
        self.args = []  # command-line arguments after the program's name

    # -- files -------------------------------------------------------------------------

    def path(self, *parts):
        return os.path.join(self.workdir, *parts)

    def read(self, *parts):
        with open(self.path(*parts), "rb") as f:
            return f.read().decode("utf-8")

    # -- start and stop ----------------------------------------------------------------

    def prepare(self):
        """Puts the program in place; returns its command line, environment and working
        directory. This one copies the executable into the scratch directory."""
        os.makedirs(self.workdir, exist_ok=True)
        if not os.path.exists(self.exe):
            shutil.copy2(self.ctx.exe, self.exe)
            self.copied = True
        for sub in ("home", "run"):
            os.makedirs(self.path(".env", sub), mode=0o700, exist_ok=True)
        env = self.session.child_env()
        env.update(HOME=self.path(".env", "home"), XDG_RUNTIME_DIR=self.path(".env", "run"),
                   LC_ALL="C.UTF-8")
        return [self.exe] + self.args, env, self.workdir

    def remove_copy(self):
        """Removes the executable that prepare() copied; the files it wrote stay."""
        if self.copied and os.path.exists(self.exe):
            os.remove(self.exe)

    def start(self, boxes=0, timeout=30.0):
        """Starts the program and waits for its main window; `boxes` message boxes are
        expected (and dismissed) during start-up, before the window shows."""
        self.launch()
        self.boxes_before_start = len(self.boxes)
        self.wait_main(time.monotonic() + timeout, self._dismiss)
        self.ctx.log(f"main window 0x{self.main.id:x} at {self.main.rect}")
        got = len(self.boxes) - self.boxes_before_start
        if got != boxes:
            raise ProgramError(f"{got} message boxes during start-up, expected {boxes}")
        self.wait_idle()
        self.expect_boxes(0)

    def launch(self):
        """Starts the prepared program's process, its output going to a log of its own.
        Returns the monotonic time taken just before the start."""
        command, env, cwd = self.prepare()
        self.runs += 1
        out = open(os.path.join(self.ctx.artifacts, f"program-{self.runs}.log"), "wb")
        t0 = time.monotonic()
        with out:
            self.proc = self.ctx.procs.start(command, cwd=cwd, env=env,
                                             stdout=out, stderr=subprocess.STDOUT)
        return t0

    def wait_main(self, deadline, on_box, poll=0.05):
        """Waits until the launched program's main window is mapped, handing each message
        box of the program that shows meanwhile to `on_box`; sets main and layout."""
        self.main = None
        while self.main is None:
            self._check_running()
            for win in self.session.top_windows():
                if win.pid != self.proc.pid:
                    continue
                if win.caption == MAIN_CAPTION:
                    self.main = win
                elif self._is_box(win):
                    on_box(win)
            if time.monotonic() > deadline:
                raise ProgramError("the main window did not appear")
            time.sleep(poll)
        self.layout = Layout(*self.main.rect)

    def _check_running(self):
        if self.proc.poll() is not None:
            raise ProgramError(f"the program ended unexpectedly with code {self.proc.returncode}"
                               + self._output_tail())

    def _output_tail(self, lines=30):
        """The last lines the program printed, so a failure report shows why it ended."""
        path = os.path.join(self.ctx.artifacts, f"program-{self.runs}.log")
        try:
            with open(path, "rb") as f:
                text = f.read().decode("utf-8", "replace")
        except OSError:
            return ""
        tail = text.strip().splitlines()[-lines:]
        return ("\nthe program's output ended with:\n" + "\n".join(tail)) if tail else ""

    def request_close(self):
        """Asks the main window to close, as a window manager does for the close button."""
        self.ctx.log("close request (WM_DELETE_WINDOW)")
        self.session.send_close_request(self.main.id)

    def close(self, timeout=20.0):
        """Closes the window and waits for the program to end; it must end with code 0."""
        self.expect_boxes(0, quiet=0.0)
        self.request_close()
        code = self.wait_exit(timeout)
        if code != 0:
            raise ProgramError(f"the program ended with code {code}" + self._output_tail())

    def wait_exit(self, timeout):
        deadline = time.monotonic() + timeout
        while self.proc.poll() is None:
            for win in self.session.top_windows():
                if win.pid == self.proc.pid and self._is_box(win):
                    shot = self._save_box(win)
                    raise ProgramError(f"a message box came up instead of closing ({shot})")
            if time.monotonic() > deadline:
                raise ProgramError("the program did not end after the close request")
            time.sleep(0.05)
        self.ctx.log(f"program ended with code {self.proc.returncode}")
        return self.proc.returncode

    def is_running(self):
        return self.proc is not None and self.proc.poll() is None

    # -- message boxes -----------------------------------------------------------------

    def _is_box(self, win):
        return (win.caption == BOX_CAPTION and win.width > 1 and win.height > 1
                and (self.main is None or win.id != self.main.id))

    def open_boxes(self):
        return [w for w in self.session.top_windows()
                if w.pid == self.proc.pid and self._is_box(w)]

    def _save_box(self, win):
        path = self.ctx.shot_path(f"box-{len(self.boxes) + 1}")
        x, y, w, h = clamp_rect(win.rect, self.session.size)
        write_png(path, self.session.screenshot((x, y, w, h)))
        return path

    def _wait_painted(self, win, timeout=3.0):
        """Waits until a new window shows more than one colour and has stopped changing."""
        deadline = time.monotonic() + timeout
        last = None
        while time.monotonic() < deadline:
            now = self.session.screenshot(clamp_rect(win.rect, self.session.size))
            if last is not None and not changed_pixels(now, last) and \
                    len(np.unique(now.reshape(-1, 3), axis=0)) > 1:
                return
            last = now
            time.sleep(0.1)

    def _dismiss(self, win, timeout=10.0):
        """Screenshots a message box and closes it with Return once it has the focus."""
        self._wait_painted(win)
        stack = self.session.top_windows()
        ids = [w.id for w in stack]
        over_main = (self.main is not None and win.transient_for == self.main.id
                     and self.main.id in ids and win.id in ids
                     and ids.index(win.id) > ids.index(self.main.id))
        shot = self._save_box(win)
        box = Box(win.caption, win.id, win.rect, shot, over_main)
        self.boxes.append(box)
        self.ctx.log(f"message box 0x{win.id:x} at {win.rect}, screenshot {shot}")
        deadline = time.monotonic() + timeout
        while self.session.input_focus() != win.id:
            if time.monotonic() > deadline:
                raise ProgramError("the message box never got the keyboard focus")
            time.sleep(0.05)
        self.ctx.input.key("Return")
        while self.session.is_viewable(win.id):
            if time.monotonic() > deadline:
                raise ProgramError("the message box did not close on Return")
            time.sleep(0.05)
        return box

    def expect_boxes(self, count, timeout=15.0, quiet=0.5):
        """Waits for `count` message boxes, dismissing each, then checks that no further box
        comes up within `quiet` seconds. Returns the boxes seen."""
        seen = []
        deadline = time.monotonic() + timeout
        while len(seen) < count:
            self._check_running()
            boxes = self.open_boxes()
            if boxes:
                seen.append(self._dismiss(boxes[0]))
                deadline = time.monotonic() + timeout
            elif time.monotonic() > deadline:
                raise ProgramError(f"expected {count} message boxes, saw {len(seen)}")
            else:
                time.sleep(0.05)
        end = time.monotonic() + quiet
        while True:
            boxes = self.open_boxes()
            if boxes:
                shot = self._save_box(boxes[0])
                raise ProgramError(f"an unexpected message box came up ({shot})")
            if time.monotonic() >= end:
                return seen
            time.sleep(0.05)

    # -- pixels ------------------------------------------------------------------------

    def shot(self, rect=None):
        return self.session.screenshot(clamp_rect(rect or self.layout.window.tuple(), self.session.size))

    def chart_shot(self):
        return self.shot(self.layout.chart.tuple())

    def save_shot(self, name, rect=None):
        path = self.ctx.shot_path(name)
        write_png(path, self.shot(rect))
        return path

    def _cpu_ticks(self):
        """CPU time the program has used so far, in clock ticks (0 once it has ended)."""
        try:
            with open(f"/proc/{self.proc.pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            return int(fields[11]) + int(fields[12])  # utime + stime
        except (OSError, IndexError, ValueError):
            return 0

    def wait_idle(self, quiet=0.4, timeout=20.0):
        """Waits until the chart's pixels have stayed the same and the program has used no
        CPU time for `quiet` seconds. (The rest of the window holds a blinking caret, so its
        pixels never rest; the caret's small work may now and then cost a clock tick, so a
        program whose chart has rested for the whole time counts as idle at the deadline.)"""
        deadline = time.monotonic() + timeout
        last = self.chart_shot()
        ticks = self._cpu_ticks()
        still_since = pixels_still_since = time.monotonic()
        while time.monotonic() - still_since < quiet:
            if time.monotonic() > deadline:
                if time.monotonic() - pixels_still_since >= quiet:
                    break
                raise ProgramError("the chart never came to rest")
            time.sleep(0.05)
            now = self.chart_shot()
            now_ticks = self._cpu_ticks()
            if changed_pixels(now, last):
                last = now
                still_since = pixels_still_since = time.monotonic()
            elif now_ticks != ticks:
                still_since = time.monotonic()
            ticks = now_ticks
        return last

    def act(self, action, boxes=0, changes=True, timeout=30.0):
        """Runs an input `action`, dismisses the `boxes` message boxes it brings, waits for
        the chart to change (when it must) and then to rest. Returns the boxes."""
        before = self.chart_shot()
        action()
        seen = self.expect_boxes(boxes)
        if changes:
            self.wait_chart_change(before, timeout)
        self.wait_idle()
        return seen

    def wait_chart_change(self, before, timeout=30.0):
        """Polls the chart until it differs from `before`; returns (seconds, new pixels)."""
        start = time.monotonic()
        while True:
            now = self.chart_shot()
            if changed_pixels(now, before):
                return time.monotonic() - start, now
            if time.monotonic() - start > timeout:
                raise ProgramError("the chart did not change")
            time.sleep(0.01)


def clamp_rect(rect, screen_size):
    x, y, w, h = rect
    sw, sh = screen_size
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(sw, x + w), min(sh, y + h)
    return (x0, y0, max(1, x1 - x0), max(1, y1 - y0))
