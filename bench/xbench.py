#!/usr/bin/python3
"""What typing into the number box costs in the real program on the real X platform.

    xbench.py --exe build/bin/Vexilo --out RESULTS/xbench.json [--artifacts DIR]
    VEXILO_XBENCH_SIZES=1000,100000   other list lengths (default 1,000, 100,000, 1,000,000)

Runs build/bin/Vexilo under a private X server (the end-to-end harness in tests/e2e), with a
settings folder prepared so that it starts with N numbers in the box, and measures the
processor time of the window's thread (see tests/e2e/harness/responsiveness.py) for:

- start-up: from the process's start until its thread rests after the first paint;
- at rest: one second with the caret blinking at the end of the list;
- one keystroke: space or Backspace (in turn, so the list keeps its length), from sending
  the key until the thread rests;
- " 17" and Enter: the four keys one after another, each waited for like the keystroke,
  summed.

The cost of blinking at rest is measured first; the keystroke and Enter figures have that
cost over their wall time taken off. Every figure is the median over its repetitions.
Writes the medians in Google Benchmark's JSON form (cpu_time: processor time, real_time:
wall time, in ms; at rest: ms per second), which bench/summary.py reads beside the other
results, and prints them as a table. Exits with 1 when the program could not be measured.
"""
import argparse
import json
import os
import shutil
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
E2E = os.path.join(os.path.dirname(HERE), "tests", "e2e")
sys.path.insert(0, E2E)

from harness import responsiveness as r  # noqa: E402
from harness.xinput import XInput  # noqa: E402
from run_scenario import Context  # noqa: E402
from scenarios import settings_text  # noqa: E402

SIZES = [1000, 100000, 1000000]
STARTS = 3  # start-ups per size
RESTS = 5  # seconds at rest per size
KEYS = 8  # single keystrokes per size
ENTERS = 3  # " 17" and Enter per size


def measure_size(ctx, count, log):
    numbers = r.number_list(count)
    starts, program = [], None
    for run in range(STARTS):
        prog = ctx.program(f"n{count}-{run}")
        r.prepare_folder(prog, settings_text(), numbers)
        clock, cost = r.start_measured(ctx, prog)
        starts.append(cost)
        log(f"{count}: start-up {cost.cpu_ms:.1f} ms processor, {cost.wall_ms:.0f} ms wall")
        if run < STARTS - 1:
            ctx.procs.stop(prog.proc)
        else:
            program = (prog, clock)
    prog, clock = program
    r.put_caret_at_end(ctx, prog, clock)
    keys = r.Keys(ctx.session)

    rests = [r.rest_rate(clock) for _ in range(RESTS)]
    rest = statistics.median(rests)
    log(f"{count}: at rest {rest:.2f} ms per second ({', '.join(f'{x:.2f}' for x in rests)})")

    strokes = []
    for i in range(KEYS):
        key = "space" if i % 2 == 0 else "BackSpace"
        strokes.append(r.measure(clock, lambda: keys.tap(key)))
    log(f"{count}: keystrokes " + ", ".join(f"{c.net(rest):.1f}" for c in strokes) + " ms")

    enters = []
    for _ in range(ENTERS):
        parts = [r.measure(clock, lambda k=k: keys.tap(k)) for k in ("space", "1", "7", "Return")]
        enters.append(r.Cost(sum(c.cpu_ms for c in parts), sum(c.wall_ms for c in parts)))
    log(f"{count}: \" 17\" and Enter " + ", ".join(f"{c.net(rest):.1f}" for c in enters)
        + " ms")
    if prog.open_boxes():
        raise r.ProgramError("a message box came up while typing")
    ctx.procs.stop(prog.proc)
    for name in os.listdir(ctx.artifacts):  # the prepared lists, up to 4 MB each
        if name.startswith(f"n{count}-"):
            shutil.rmtree(os.path.join(ctx.artifacts, name), ignore_errors=True)

    def median(costs, net):
        return (statistics.median(c.net(rest) if net else c.cpu_ms for c in costs),
                statistics.median(c.wall_ms for c in costs))

    return {
        f"XStartUp/{count}": median(starts, False),
        f"XAtRestPerSecond/{count}": (rest, 1000.0),
        f"XKeystroke/{count}": median(strokes, True),
        f"XNumberAndEnter/{count}": median(enters, True),
    }


def table(figures, sizes):
    rows = [("Numbers in the box", "one keystroke", "\" 17\" and Enter",
             "at rest, the caret blinking", "start-up to the first paint")]
    for n in sizes:
        key, enter = figures[f"XKeystroke/{n}"], figures[f"XNumberAndEnter/{n}"]
        rest, start = figures[f"XAtRestPerSecond/{n}"], figures[f"XStartUp/{n}"]
        rows.append((f"{n:,}", f"{key[0]:.1f} ms ({key[1]:.0f} ms wall)",
                     f"{enter[0]:.1f} ms ({enter[1]:.0f} ms wall)",
                     f"{rest[0]:.1f} ms per second",
                     f"{start[0]:.0f} ms ({start[1]:.0f} ms wall)"))
    widths = [max(len(row[i]) for row in rows) for i in range(len(rows[0]))]
    line = lambda row: "| " + " | ".join(c.ljust(w) for c, w in zip(row, widths)) + " |"
    return "\n".join([line(rows[0]), "|" + "|".join("-" * (w + 2) for w in widths) + "|"]
                     + [line(row) for row in rows[1:]])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--artifacts")
    args = parser.parse_args()
    sizes = [int(s) for s in os.environ.get("VEXILO_XBENCH_SIZES", "").split(",") if s] or SIZES
    artifacts = args.artifacts or tempfile.mkdtemp(prefix="vexilo-xbench-")
    shutil.rmtree(artifacts, ignore_errors=True)
    os.makedirs(artifacts)
    ctx = Context(os.path.abspath(args.exe), artifacts)
    figures = {}
    try:
        ctx.session.start()
        ctx.input = XInput(ctx.session, lambda text: None)
        for n in sizes:
            figures.update(measure_size(ctx, n, ctx.log))
    except Exception as e:
        ctx.log(f"FAILED: {e} (artifacts in {artifacts})")
        return 1
    finally:
        ctx.procs.stop_all()
        ctx.session.close()
        for prog in ctx.programs:
            prog.remove_copy()
    rows = [{"name": name, "run_name": name, "run_type": "aggregate",
             "aggregate_name": "median", "cpu_time": cpu, "real_time": wall, "time_unit": "ms"}
            for name, (cpu, wall) in figures.items()]
    with open(args.out, "w", encoding="utf-8") as f:
        json.dump({"context": {"source": "bench/xbench.py", "date": time.ctime()},
                   "benchmarks": rows}, f, indent=1)
    print(f"Window thread's processor time on X, medians; the caret's blinking at rest taken "
          f"off the keystroke and Enter columns "
          f"({'nanosecond' if r.ThreadClock(os.getpid()).precise else '10 ms'} clock):")
    print(table(figures, sizes))
    return 0


if __name__ == "__main__":
    sys.exit(main())
