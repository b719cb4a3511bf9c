#!/usr/bin/env python3
"""Reads the JSON results of the benchmark binaries (--benchmark_out) and prints one table:
each figure, the reference measured in the same run, their ratio and the target.

Times are the medians over the repetitions, in CPU time of the measuring thread (for the
start-up processes: the child's user and system time): the machine is shared, so waiting
for the processor is left out and the targets are ratios.
Exits with 1 when a target was missed or a figure could not be found.

Usage: summary.py RESULTS_DIR
"""
import json
import os
import sys

# (figure, benchmark, reference, target): target is (kind, limit) with kind "max" (ratio at
# most limit), "below" (ratio under limit) or None (reported only). A reference of None
# reports the figure alone, in the unit of its counter when one is named with "counter:".
FIGURES = [
    ("Walk, 1,000 numbers", "Walk/1000", "WalkReference/1000", None),
    ("Walk, 100,000 numbers", "Walk/100000", "WalkReference/100000", None),
    ("Walk, 1,000,000 numbers", "Walk/1000000", "WalkReference/1000000", ("max", 3.0)),
    ("Statistics update, 100,000 numbers / walk", "StatsUpdate/100000", "StatsWalk/100000",
     ("max", 1.0)),
    ("Statistics update, 1,000,000 numbers / walk", "StatsUpdate/1000000", "StatsWalk/1000000",
     ("max", 1.0)),
    ("Draw, 1 zero line / bare QPainter", "BM_FullDraw", "BM_BareQPainterReference", None),
    ("Draw, 1 zero line / QCustomPlot", "BM_FullDraw", "BM_QCustomPlot", ("below", 1.0)),
    ("Draw, 1 zero line / Qt Charts", "BM_FullDraw", "BM_QtCharts", ("below", 1.0)),
    ("Draw, 1 zero line / QCustomPlot default AA", "BM_FullDraw",
     "BM_QCustomPlot_DefaultAntialiasing", None),
    ("Draw, 1000 zero lines / own 1-line draw", "BM_FullDraw_1000ZeroLines", "BM_FullDraw",
     ("max", 2.0)),
    ("Draw, 1000 zero lines / QCustomPlot", "BM_FullDraw_1000ZeroLines",
     "BM_QCustomPlot_1000ZeroLines", ("below", 1.0)),
    ("Draw, 1000 zero lines / Qt Charts", "BM_FullDraw_1000ZeroLines",
     "BM_QtCharts_1000ZeroLines", ("below", 1.0)),
    ("Pan step, event to paint / widget's full draw", "BM_PanStepToPaint", "BM_FullDrawOfWindow",
     None),
    ("Pan step, event to paint / 1-line image draw", "BM_PanStepToPaint", "BM_FullDraw", None),
    ("Hover move changing nothing (no draw) / pan step", "BM_HoverMoveWithoutChange",
     "BM_PanStepToPaint", None),
    ("Enter cycle, 1,000 numbers / setPlainText", "BM_EnterCycle/1000",
     "BM_SetPlainTextFloor/1000", ("max", 2.0)),
    ("Enter cycle, 10,000 numbers / setPlainText", "BM_EnterCycle/10000",
     "BM_SetPlainTextFloor/10000", ("max", 2.0)),
    ("Enter cycle, 100,000 numbers / setPlainText", "BM_EnterCycle/100000",
     "BM_SetPlainTextFloor/100000", ("max", 2.0)),
    ("Enter again at once, 1,000 numbers / setPlainText", "BM_EnterCycleAgain/1000",
     "BM_SetPlainTextFloor/1000", None),
    ("Enter again at once, 100,000 numbers / setPlainText", "BM_EnterCycleAgain/100000",
     "BM_SetPlainTextFloor/100000", None),
    ("Draw after 10,000 Enters / after 10", "SessionDraw/10000", "SessionDraw/10", ("max", 2.0)),
    ("Enter after 10,000 Enters / after 10", "SessionEnter/10000/iterations:200",
     "SessionEnter/10/iterations:200", None),
    ("Start-up process, 100,000 numbers / 10", "BM_StartUpProcess/100000/iterations:5/manual_time",
     "BM_StartUpProcess/10/iterations:5/manual_time", ("max", 3.0)),
    ("Start-up in a running process, 100,000 / 10", "BM_StartUp/100000", "BM_StartUp/10", None),
    ("Peak memory, 1,000,000 numbers in the box / bare QTextEdit",
     "counter:BM_PeakMemory/1000000/iterations:1/repeats:1:VmHWM_MiB",
     "counter:BM_PeakMemoryBareTextEdit/1000000/iterations:1/repeats:1:VmHWM_MiB", ("max", 1.3)),
    ("Peak memory before the window was made", "counter:BM_PeakMemory/1000000/iterations:1/repeats:1:VmHWM_before_MiB",
     None, None),
    # The number box in the real program under X (bench/xbench.py): the window thread's
    # processor time, the caret's blinking at rest taken off the keystroke and Enter.
    ("X: keystroke, 100,000 numbers / 1,000", "XKeystroke/100000", "XKeystroke/1000", None),
    ("X: keystroke, 1,000,000 numbers / 1,000", "XKeystroke/1000000", "XKeystroke/1000",
     ("max", 2.0)),
    ("X: \" 17\" and Enter, 100,000 numbers / 1,000", "XNumberAndEnter/100000",
     "XNumberAndEnter/1000", None),
    ("X: \" 17\" and Enter, 1,000,000 numbers / 1,000", "XNumberAndEnter/1000000",
     "XNumberAndEnter/1000", ("max", 10.0)),
    ("X: at rest (ms per second), 100,000 numbers / 1,000", "XAtRestPerSecond/100000",
     "XAtRestPerSecond/1000", None),
    ("X: at rest (ms per second), 1,000,000 numbers / 1,000", "XAtRestPerSecond/1000000",
     "XAtRestPerSecond/1000", ("max", 2.0)),
    ("X: start-up to the first paint, 100,000 numbers / 1,000", "XStartUp/100000",
     "XStartUp/1000", None),
    ("X: start-up to the first paint, 1,000,000 numbers / 1,000", "XStartUp/1000000",
     "XStartUp/1000", None),
    # The text box on the text model (bench_textbox, bench_memory_textbox), offscreen: a
    # keystroke with the input method's questions and the paint, " 17" typed, a caret blink.
    ("Text box: keystroke, 1,000,000 numbers / 1,000", "TextBoxKeystroke/1000000",
     "TextBoxKeystroke/1000", ("max", 2.0)),
    ("Text box: keystroke at the start, 1,000,000 numbers / 1,000",
     "TextBoxKeystrokeAtStart/1000000", "TextBoxKeystrokeAtStart/1000", ("max", 2.0)),
    ("Text box: keystroke, 1,000 numbers / QPlainTextEdit", "TextBoxKeystroke/1000",
     "PlainTextEditKeystroke/1000", None),
    ("Text box: keystroke, 100,000 numbers / QPlainTextEdit", "TextBoxKeystroke/100000",
     "PlainTextEditKeystroke/100000", None),
    ("Text box: \" 17\", 1,000,000 numbers / 1,000", "TextBoxTypeNumber/1000000",
     "TextBoxTypeNumber/1000", ("max", 2.0)),
    ("Text box: caret blink, 1,000,000 numbers / 1,000", "TextBoxBlink/1000000",
     "TextBoxBlink/1000", ("max", 2.0)),
    ("Peak memory, 1,000,000 numbers in the text box / bare QTextEdit",
     "counter:BM_PeakMemoryTextBox/1000000/iterations:1/repeats:1:VmHWM_MiB",
     "counter:BM_PeakMemoryBareTextEdit/1000000/iterations:1/repeats:1:VmHWM_MiB", ("max", 1.3)),
]


def load(directory):
    """Median CPU time in milliseconds and the counters of every benchmark, by name."""
    medians = {}
    for name in sorted(os.listdir(directory)):
        if not name.endswith(".json"):
            continue
        with open(os.path.join(directory, name), encoding="utf-8") as f:
            data = json.load(f)
        for b in data.get("benchmarks", []):
            if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
                continue
            if b.get("error_occurred"):
                continue
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b.get("time_unit", "ns")]
            # Benchmarks timed by hand (a child process's processor time) report it as
            # their real time.
            manual = b["run_name"].endswith("/manual_time")
            medians[b["run_name"]] = {"ms": b["real_time" if manual else "cpu_time"] * scale,
                                      "counters": b}
    return medians


def counter_value(results, spec):
    """The counter named by "counter:BENCHMARK:COUNTER", or None when it is not there."""
    name, counter = spec.split(":", 1)[1].rsplit(":", 1)
    r = results.get(name)
    return r["counters"][counter] if r and counter in r["counters"] else None


def fmt_mib(value):
    return "missing" if value is None else f"{value:.0f} MiB"


def fmt_ms(ms):
    return f"{ms:.3f} ms" if ms < 10 else f"{ms:.1f} ms"


# The peers that must have run (./vexilo bench names them): a missing row of theirs fails.
REQUIRED_PEERS = [p for p in os.environ.get("VEXILO_BENCH_PEERS", "").split(";") if p]


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    results = load(sys.argv[1])
    rows = []
    failed = False
    for figure, bench, ref, target in FIGURES:
        if bench.startswith("counter:"):
            ours = counter_value(results, bench)
            if ref is None:
                failed |= ours is None
                rows.append((figure, fmt_mib(ours), "", "", "", "reported" if ours else "MISSING"))
                continue
            theirs = counter_value(results, ref)
            if ours is None or theirs is None:
                failed = True
                rows.append((figure, fmt_mib(ours), fmt_mib(theirs), "", "", "MISSING"))
                continue
            ratio = ours / theirs
            met = ratio <= target[1]
            failed |= not met
            rows.append((figure, fmt_mib(ours), fmt_mib(theirs), f"{ratio:.2f}x",
                         f"<= {target[1]:g}x", "met" if met else "MISSED"))
            continue
        ours, theirs = results.get(bench), results.get(ref)
        if not ours or not theirs:
            absent = bench if not ours else ref
            peer = next((p for p in ("QCustomPlot", "QtCharts") if p in absent), None)
            optional = peer is not None and peer not in REQUIRED_PEERS
            rows.append((figure, fmt_ms(ours["ms"]) if ours else "-",
                         fmt_ms(theirs["ms"]) if theirs else "-", "", "",
                         f"not run ({absent})" if optional
                         else f"MISSING: {peer} must be compared with" if peer else "MISSING"))
            failed |= not optional
            continue
        ratio = ours["ms"] / theirs["ms"]
        if target is None:
            verdict, goal = "", ""
        else:
            kind, limit = target
            met = ratio <= limit if kind == "max" else ratio < limit
            goal = f"<= {limit:g}x" if kind == "max" else f"< {limit:g}x"
            verdict = "met" if met else "MISSED"
            failed |= not met
        rows.append((figure, fmt_ms(ours["ms"]), fmt_ms(theirs["ms"]), f"{ratio:.2f}x", goal,
                     verdict))

    header = ("Figure", "Ours", "Reference", "Ratio", "Target", "")
    widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(len(header))]
    line = lambda r: "| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |"
    print(line(header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
