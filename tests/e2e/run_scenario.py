#!/usr/bin/python3
"""Runs one end-to-end scenario of Vexilo under a private X server.

    run_scenario.py --exe build/bin/Vexilo --artifacts DIR [--budget SECONDS] NAME
    run_scenario.py --packages build/packages --artifacts DIR portable_archive
    run_scenario.py --artifacts DIR installed_start      (the installed .deb's program)

Starts Xvfb, runs the scenario NAME (see scenarios.py), and ends every process it started,
by process id, whatever happens. A watchdog ends the run after --budget seconds. Screenshots
(every message box, the steps, and the screen at a failure) and the program's output are
left in DIR/NAME. Exit code 0 when the scenario passed, 1 when it failed.
"""
import argparse
import os
import shutil
import signal
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness.image import write_png  # noqa: E402
from harness.procs import ProcessTable  # noqa: E402
from harness.program import Program  # noqa: E402
from harness.xinput import XInput  # noqa: E402
from harness.xsession import XSession  # noqa: E402
import desktop_scenarios  # noqa: E402
import memobench_scenarios  # noqa: E402
import scenarios  # noqa: E402

SCENARIOS = {**scenarios.SCENARIOS, **desktop_scenarios.SCENARIOS,
             **memobench_scenarios.SCENARIOS}


class Watchdog(Exception):
    pass


class Context:
    """What a scenario gets: the X session, input, its artifact folder and a log."""

    def __init__(self, exe, artifacts, packages=None):
        self.exe = exe
        self.artifacts = artifacts
        self.packages = packages
        self.t0 = time.monotonic()
        self.procs = ProcessTable(self.log)
        self.session = XSession(self.procs, self.log, artifacts)
        self.input = None
        self.results = []
        self.programs = []
        self._shots = 0

    def log(self, text):
        print(f"[{time.monotonic() - self.t0:7.2f}s] {text}", flush=True)

    def shot_path(self, name):
        self._shots += 1
        return os.path.join(self.artifacts, f"{self._shots:02d}-{name}.png")

    def program(self, workdir_name="app"):
        prog = Program(self, os.path.join(self.artifacts, workdir_name))
        self.programs.append(prog)
        return prog

    def check(self, condition, what):
        """Records one sub-result; a failed check ends the scenario."""
        self.results.append((bool(condition), what))
        self.log(("ok    " if condition else "FAIL  ") + what)
        if not condition:
            raise AssertionError(what)

    def measure(self, name, value, unit):
        line = f"MEASURE {name} = {value:.1f} {unit}"
        self.log(line)
        with open(os.path.join(self.artifacts, "measurements.txt"), "a") as f:
            f.write(line + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", help="the program to copy and run (most scenarios)")
    parser.add_argument("--packages", help="the folder of the packages (portable_archive)")
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--budget", type=float, default=150.0)
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()

    artifacts = os.path.join(os.path.abspath(args.artifacts), args.scenario)
    shutil.rmtree(artifacts, ignore_errors=True)
    os.makedirs(artifacts)
    ctx = Context(args.exe and os.path.abspath(args.exe), artifacts,
                  args.packages and os.path.abspath(args.packages))

    def on_alarm(signum, frame):
        raise Watchdog(f"watchdog: the scenario ran longer than {args.budget:.0f} s")

    def on_term(signum, frame):
        raise Watchdog("stopped by SIGTERM")

    signal.signal(signal.SIGALRM, on_alarm)
    signal.signal(signal.SIGTERM, on_term)
    signal.alarm(int(args.budget))
    passed = False
    try:
        ctx.session.start()
        ctx.input = XInput(ctx.session, ctx.log)
        SCENARIOS[args.scenario](ctx)
        passed = True
    except BaseException as e:  # the watchdog and failed checks alike
        ctx.log(f"FAILED: {e}")
        traceback.print_exc(file=sys.stdout)
        try:
            if ctx.session.dpy is not None:
                path = ctx.shot_path("failure-screen")
                write_png(path, ctx.session.screenshot())
                ctx.log(f"screen at the failure: {path}")
        except BaseException as shot_error:
            ctx.log(f"no failure screenshot: {shot_error}")
    finally:
        # Cleanup gets its own short budget, so a hanging step cannot keep us here.
        signal.alarm(20)
        try:
            ctx.procs.stop_all()  # newest first: the program and its helpers, then Xvfb
            ctx.session.close()
            for prog in ctx.programs:  # the copied executables; their files stay
                prog.remove_copy()
        finally:
            signal.alarm(0)
    good = sum(1 for ok, _ in ctx.results if ok)
    bad = len(ctx.results) - good
    print(f"{args.scenario}: {good} checks passed, {bad} failed; "
          f"{'PASSED' if passed else 'FAILED'} in {time.monotonic() - ctx.t0:.1f} s "
          f"(artifacts in {artifacts})", flush=True)
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
