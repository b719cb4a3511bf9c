"""How much work one input costs the program's window thread, measured from outside.

The window's thread is the process's main thread (its thread id is the process id). Its
processor time is read from /proc/<pid>/task/<pid>/schedstat (the first field: nanoseconds
spent running), or from utime + stime in .../stat (clock ticks, 10 ms) where the kernel
keeps no schedstat. The thread is at rest once that time has stayed the same over
QUIET_POLLS polls POLL seconds apart and, at each of them, the thread sat waiting in the event
loop's poll (/proc/<pid>/task/<pid>/syscall; on x86-64, where the numbers are known): a
thread that is ready to run but waits for a processor on a loaded machine uses no time
either, and is not at rest. The wall time of an input runs from sending it to the last poll
at which the thread had still worked.

Keys go straight through the XTEST extension, as xdotool sends them, but without starting a
process per key, so the moment a key is sent is known to the millisecond.
"""
import os
import platform
import random
import time
from dataclasses import dataclass

from Xlib import X, XK
from Xlib.ext import xtest

from .program import ProgramError

POLL = 0.01
QUIET_POLLS = 5

# The system calls an event loop waits in on x86-64: poll, ppoll, epoll_wait, epoll_pwait.
EVENT_WAITS = {7, 271, 232, 281} if platform.machine() == "x86_64" else None


class ThreadClock:
    """Processor time of one thread of a running process."""

    def __init__(self, pid, tid=None):
        tid = pid if tid is None else tid
        self._schedstat = f"/proc/{pid}/task/{tid}/schedstat"
        self._stat = f"/proc/{pid}/task/{tid}/stat"
        self._syscall = f"/proc/{pid}/task/{tid}/syscall"
        self.precise = os.path.exists(self._schedstat)
        self._tick_ns = 1e9 / os.sysconf("SC_CLK_TCK")

    def ns(self):
        """Processor time the thread has used so far, in nanoseconds."""
        if self.precise:
            with open(self._schedstat) as f:
                return int(f.read().split()[0])
        with open(self._stat) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) * self._tick_ns

    def waiting(self):
        """False when the thread is running, ready to run or blocked in anything but an
        event loop's wait; True when it waits there, or when that cannot be told."""
        if EVENT_WAITS is None:
            return True
        try:
            with open(self._syscall) as f:
                first = f.read().split()[0]
        except (OSError, IndexError):
            return True
        return first.isdigit() and int(first) in EVENT_WAITS


@dataclass
class Cost:
    cpu_ms: float  # the thread's processor time from the input until it rested
    wall_ms: float  # from the input to the last poll at which the thread still worked

    def net(self, rest_ms_per_s):
        """The processor time without what blinking the caret costs in the same wall time
        (never below zero)."""
        return max(0.0, self.cpu_ms - rest_ms_per_s * self.wall_ms / 1000.0)


def wait_rest(clock, timeout=120.0, started=None):
    """Polls until the thread's processor time has stayed the same, and the thread waited
    in its event loop, for QUIET_POLLS polls in a row. With `started` (processor time in ns), first waits until the thread has worked
    past it, so a poll that comes before the thread even woke up is not taken for rest.
    Returns (monotonic time of the last poll at which the thread had worked, its processor
    time in ns then)."""
    deadline = time.monotonic() + timeout
    last_ns = clock.ns()
    last_change = time.monotonic()
    if started is not None:
        while last_ns == started:
            if time.monotonic() > deadline:
                raise ProgramError("the window's thread never woke up for the input")
            time.sleep(POLL / 5)
            last_ns = clock.ns()
        last_change = time.monotonic()
    quiet = 0
    while quiet < QUIET_POLLS:
        if time.monotonic() > deadline:
            raise ProgramError(f"the window's thread did not come to rest in {timeout:g} s")
        time.sleep(POLL)
        now_ns = clock.ns()
        if now_ns != last_ns:
            last_ns, last_change, quiet = now_ns, time.monotonic(), 0
        elif clock.waiting():
            quiet += 1
        else:
            quiet = 0
    return last_change, last_ns


def measure(clock, action, timeout=120.0):
    """Waits for rest, runs `action` (which sends input) and returns its Cost."""
    wait_rest(clock, timeout)
    c0 = clock.ns()
    t0 = time.monotonic()
    action()
    t1, c1 = wait_rest(clock, timeout, started=c0)
    return Cost((c1 - c0) / 1e6, (t1 - t0) * 1000.0)


def rest_rate(clock, seconds=1.0):
    """Processor time the thread uses per second while nobody touches it, in ms."""
    wait_rest(clock)
    c0, t0 = clock.ns(), time.monotonic()
    time.sleep(seconds)
    c1, t1 = clock.ns(), time.monotonic()
    return (c1 - c0) / 1e6 / (t1 - t0)


class Keys:
    """Key taps through XTEST on the session's display."""

    def __init__(self, session):
        self._dpy = session.dpy

    def tap(self, name):
        """Presses and releases the key of the keysym `name` ("space", "BackSpace", "1",
        "Return"); returns once the X server has taken both events."""
        code = self._dpy.keysym_to_keycode(XK.string_to_keysym(name))
        if not code:
            raise ProgramError(f"no key on the keyboard for {name!r}")
        xtest.fake_input(self._dpy, X.KeyPress, code)
        xtest.fake_input(self._dpy, X.KeyRelease, code)
        self._dpy.sync()


def number_list(count, seed=21):
    """`count` numbers from 1 to 36 (the range the list accepts), separated by single spaces, the same for the same seed."""
    rng = random.Random(seed)
    return " ".join(str(rng.randint(1, 36)) for _ in range(count))


def prepare_folder(prog, settings, numbers):
    """Puts settings.dat and the list's side file beside the program, so it starts with
    them."""
    os.makedirs(prog.path("System"), exist_ok=True)
    with open(prog.path("settings.dat"), "w", encoding="utf-8", newline="") as f:
        f.write(settings)
    with open(prog.path("System", "Numbers_Memo.txt"), "w", encoding="utf-8",
              newline="") as f:
        f.write(numbers)


def start_measured(ctx, prog, timeout=120.0):
    """Starts the prepared program and waits for its main window and then for its thread to
    rest (the window is mapped before it is painted, so rest after mapping comes after the
    first paint). Returns the ThreadClock and the start-up's Cost, counted from the process's
    start. Message boxes fail the start: the prepared lists bring none."""
    t0 = prog.launch()
    clock = ThreadClock(prog.proc.pid)
    deadline = t0 + timeout

    def fail_on_box(win):
        raise ProgramError(f"a message box came up during start-up ({prog._save_box(win)})")

    prog.wait_main(deadline, fail_on_box, poll=POLL)
    t1, c1 = wait_rest(clock, max(1.0, deadline - time.monotonic()))
    if prog.open_boxes():
        raise ProgramError("a message box came up during start-up")
    return clock, Cost(c1 / 1e6, (t1 - t0) * 1000.0)


def put_caret_at_end(ctx, prog, clock):
    """Clicks into the number box and moves the caret after the last number."""
    m = prog.layout.memo
    ctx.input.click(m.x + m.w - 40, m.y + m.h - 12)
    wait_rest(clock)
    ctx.input.key("ctrl+End")
    wait_rest(clock)
