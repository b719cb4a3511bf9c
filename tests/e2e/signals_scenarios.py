"""Scenarios of Vexilo's end: the signals that ask a program to stop, which save the numbers
as a close does, and one window per settings folder (a second start brings the running
window to the front and ends without writing; a killed program blocks nothing).
"""
import os
import signal
import subprocess
import time

from harness.program import MAIN_CAPTION, Program
from scenarios import (SIDE_FILE, check_saved, click_into_numbers, enter_number, settings_text,
                       wait_for)


def enter_and_signal(ctx, prog, text, signum):
    """Types `text`, presses Enter and, as soon as the chart shows the new walk, sends
    `signum`."""
    before = prog.chart_shot()
    ctx.input.type(text)
    ctx.input.key("Return")
    prog.wait_chart_change(before)
    ctx.log(f"sending {signal.Signals(signum).name} to pid {prog.proc.pid}")
    os.kill(prog.proc.pid, signum)


def signals_save(ctx):
    """SIGTERM, SIGINT and SIGHUP right after an Enter: the program saves the list and ends by
    itself with code 0; a restart finds every number. A signal whose save fails shows the
    error box and the window stays, as a close does; the next signal saves and ends it."""
    prog = ctx.program()
    typed = []
    for number, signum in (("5", signal.SIGTERM), ("12", signal.SIGINT), ("7", signal.SIGHUP)):
        prog.start()
        click_into_numbers(ctx, prog)
        # The restored list ends without a space; the new number gets one before it.
        enter_and_signal(ctx, prog, (" " if typed else "") + number, signum)
        typed.append(number)
        code = prog.wait_exit(15.0)
        ctx.check(code == 0, f"{signal.Signals(signum).name}: the program ended by itself "
                  f"with code 0 (got {code})")
        check_saved(ctx, prog, " ".join(typed) + " ")

    # A signal while a message box waits for its OK: the program still saves what the box
    # holds and ends by itself.
    prog.start()
    click_into_numbers(ctx, prog)
    ctx.input.type(" 99")
    ctx.input.key("Return")
    wait_for(ctx, lambda: prog.open_boxes(), 10.0, "the out-of-range number brought a box")
    os.kill(prog.proc.pid, signal.SIGTERM)
    try:
        code = prog.proc.wait(15.0)
    except subprocess.TimeoutExpired:
        code = None
    ctx.check(code == 0, f"a SIGTERM while the box is open ends the program with code 0 ({code})")
    check_saved(ctx, prog, " ".join(typed) + " 99")

    # The restart reports the bad number and drops it from the list.
    prog.start(boxes=1)
    click_into_numbers(ctx, prog)
    enter_number(ctx, prog, " 33")
    typed.append("33")
    time.sleep(1.5)  # anything the window had still to write is written now
    blocker = prog.path(*SIDE_FILE)
    os.remove(blocker)
    os.makedirs(blocker)  # the list's side file cannot be written
    os.kill(prog.proc.pid, signal.SIGTERM)
    box = prog.expect_boxes(1)[0]
    ctx.check(box.over_main, "a SIGTERM whose save fails shows the error box over the window")
    time.sleep(0.5)
    ctx.check(prog.is_running() and prog.session.is_viewable(prog.main.id),
              "after the error the window stays open")
    os.rmdir(blocker)
    os.kill(prog.proc.pid, signal.SIGTERM)
    code = prog.wait_exit(15.0)
    ctx.check(code == 0, f"the next SIGTERM saved and ended the program with code 0 ({code})")
    check_saved(ctx, prog, " ".join(typed) + " ")


class SharedRuntimeProgram(Program):
    """A copy whose runtime directory (where the folder locks live) is one shared by all
    copies of the scenario, as one user's session has it."""

    def __init__(self, ctx, name, runtime):
        super().__init__(ctx, os.path.join(ctx.artifacts, name))
        self.runtime = runtime
        ctx.programs.append(self)

    def prepare(self):
        command, env, cwd = super().prepare()
        env["XDG_RUNTIME_DIR"] = self.runtime
        return command, env, cwd


def shared_runtime(ctx):
    runtime = os.path.join(ctx.artifacts, "run")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    os.chmod(runtime, 0o700)
    return runtime


def folder_state(path):
    """Every folder below `path`, and every file with its size, modification time and
    bytes. (A folder's own time is left out: start-up's probe whether a folder takes new
    files makes and removes a temporary file in it.)"""
    state = {}
    for root, dirs, files in os.walk(path):
        for name in dirs:
            state[os.path.relpath(os.path.join(root, name), path)] = "folder"
        for name in files:
            full = os.path.join(root, name)
            st = os.lstat(full)
            with open(full, "rb") as f:
                data = f.read()
            state[os.path.relpath(full, path)] = (st.st_size, st.st_mtime_ns, data)
    return state


def start_second(ctx, prog, what):
    """Starts the program in `prog`'s folder while a window runs there: it must end by
    itself with code 0, show no window and change no file of the folder."""
    time.sleep(1.5)  # anything the running window had still to write is written now
    before = folder_state(prog.workdir)
    command, env, cwd = prog.prepare()
    log = open(os.path.join(ctx.artifacts, f"second-{what.replace(' ', '-')}.log"), "wb")
    with log:
        second = ctx.procs.start(command, cwd=cwd, env=env, stdout=log,
                                 stderr=subprocess.STDOUT)
    deadline = time.monotonic() + 15.0
    windows = set()
    while second.poll() is None and time.monotonic() < deadline:
        windows.update(w.id for w in ctx.session.top_windows() if w.pid == second.pid)
        time.sleep(0.05)
    ctx.check(second.poll() == 0,
              f"{what}: the second start ended by itself with code 0 ({second.poll()})")
    ctx.check(not windows, f"{what}: the second start showed no window")
    mains = [w for w in ctx.session.top_windows() if w.caption == MAIN_CAPTION]
    ctx.check(folder_state(prog.workdir) == before,
              f"{what}: the second start changed no file of the folder")
    return mains


def stacking_index(ctx, prog):
    ids = [w.id for w in ctx.session.top_windows()]
    return ids.index(prog.main.id)


def second_start(ctx):
    """A second start in a folder whose window runs brings that window to the front and ends
    with code 0, writing nothing; more numbers in the first window and a close leave its
    list in the files. A window on another folder runs beside it all along."""
    runtime = shared_runtime(ctx)
    first = SharedRuntimeProgram(ctx, "first", runtime)
    first.start()
    click_into_numbers(ctx, first)
    enter_number(ctx, first, "5 12")
    other = SharedRuntimeProgram(ctx, "other", runtime)
    other.start()
    ctx.check(first.is_running() and other.is_running(),
              "two windows on two folders run side by side")
    ctx.check(stacking_index(ctx, other) > stacking_index(ctx, first),
              "the newer window stands above the first")
    mains = start_second(ctx, first, "same folder")
    ctx.check(sorted(w.pid for w in mains) == sorted((first.proc.pid, other.proc.pid)),
              f"one main window per folder remains ({len(mains)} main windows)")
    wait_for(ctx, lambda: stacking_index(ctx, first) > stacking_index(ctx, other), 5.0,
             "the first window came to the front")
    click_into_numbers(ctx, first)
    enter_number(ctx, first, "7")
    first.close()
    check_saved(ctx, first, "5 12 7 ")
    other.close()
    check_saved(ctx, other, "")


def start_after_kill(ctx):
    """A window killed with SIGKILL leaves its lock file and socket behind: the next start in
    its folder is not blocked, and that window in turn is found by a second start."""
    runtime = shared_runtime(ctx)
    prog = SharedRuntimeProgram(ctx, "app", runtime)
    prog.start()
    click_into_numbers(ctx, prog)
    enter_number(ctx, prog, "5 12")
    os.kill(prog.proc.pid, signal.SIGKILL)
    prog.proc.wait(10)
    ctx.check(any(n.endswith(".lock") for n in os.listdir(runtime)),
              "the killed window left its lock file behind")
    prog.start()
    ctx.check(True, "the start after the kill opened its window")
    start_second(ctx, prog, "after the kill")
    ctx.check(prog.is_running(), "the restarted window still runs")
    prog.close()
    ctx.check(prog.read("settings.dat") == settings_text(),
              "the restarted window saved into its folder on closing")


SCENARIOS = {
    "signals_save": signals_save,
    "second_start": second_start,
    "start_after_kill": start_after_kill,
}
