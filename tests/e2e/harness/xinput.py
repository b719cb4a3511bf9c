"""Real X input through xdotool (the XTEST extension): keys, typing, clicks and drags.

These events are indistinguishable from a person's keyboard and mouse for the program;
nothing is sent to a window directly.
"""
import subprocess
import time


class XInput:
    def __init__(self, session, log):
        self._session = session
        self._env = session.child_env()
        self._log = log

    def _run(self, *args):
        subprocess.run(["xdotool", *args], env=self._env, check=True, timeout=60,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)

    def move(self, x, y):
        # `mousemove --sync` waits for the pointer to move, which never happens when it is
        # already there; it then hangs for many seconds.
        pointer = self._session.dpy.screen().root.query_pointer()
        if (pointer.root_x, pointer.root_y) != (x, y):
            self._run("mousemove", "--sync", str(x), str(y))

    def click(self, x, y, button=1):
        self._log(f"click {button} at ({x}, {y})")
        self.move(x, y)
        self._run("click", str(button))

    def type(self, text, delay_ms=40):
        self._log(f"type {text!r}")
        self._run("type", "--delay", str(delay_ms), text)

    def key(self, *keys):
        self._log(f"key {' '.join(keys)}")
        self._run("key", "--delay", "40", *keys)

    def drag(self, start, end, steps=12, step_pause=0.05):
        """Left-button drag from start to end in small moves, as a hand would."""
        (x0, y0), (x1, y1) = start, end
        self._log(f"drag from ({x0}, {y0}) to ({x1}, {y1})")
        self.move(x0, y0)
        self._run("mousedown", "1")
        try:
            for i in range(1, steps + 1):
                time.sleep(step_pause)
                self.move(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps))
            time.sleep(step_pause)
        finally:
            self._run("mouseup", "1")
