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
    # At 1,000 numbers the number box takes its text in about 0.3 ms (it no longer lays the
    # whole list out), so the cycle's fixed part, the chart's draw, outweighs it and this ratio
    # no longer says anything about the box: reported only. At 10,000 and more the box's
    # share shows again and the target holds.
    ("Enter cycle, 1,000 numbers / setPlainText", "BM_EnterCycle/1000",
     "BM_SetPlainTextFloor/1000", None),
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
    ("Sector p-value, 10,000 fair wheels of 180 spins / 250 ms", "SectorPValue/180",
     "budget:250", ("max", 0.5)),
    ("Sector p-value, 10,000 fair wheels of 2,000 spins / 250 ms", "SectorPValue/2000",
     "budget:250", ("max", 0.5)),
    ("Sector p-value, 10,000 fair wheels of 1,000,000 spins / 250 ms", "SectorPValue/1000000",
     "budget:250", ("max", 0.5)),
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
    ("Sector p-value on screen after an update, 2,000 numbers / 250 ms",
     "SectorShown/2000/iterations:20/manual_time", "budget:250", ("max", 1.0)),
    ("Sector p-value on screen after an update, 100,000 numbers / 250 ms",
     "SectorShown/100000/iterations:20/manual_time", "budget:250", ("max", 1.0)),
    ("Sector p-value on screen after an update, 1,000,000 numbers / 250 ms",
     "SectorShown/1000000/iterations:20/manual_time", "budget:250", ("max", 1.0)),
    ("Enter cycle, automatic save / saving off, 100,000 numbers", "BM_EnterCycleAutoSave/100000",
     "BM_EnterCycleSaveOff/100000", ("max", 1.1)),
    ("Enter cycle, automatic save / saving off, 1,000,000 numbers",
     "BM_EnterCycleAutoSave/1000000", "BM_EnterCycleSaveOff/1000000", ("max", 1.1)),
    ("Enter to durable on disk, 1,000,000 numbers, median",
     "counter:BM_EnterToDurable/1000000/iterations:9/repeats:1/manual_time:durable_median_ms",
     None, None),
    ("Enter to durable on disk, 1,000,000 numbers, maximum",
     "counter:BM_EnterToDurable/1000000/iterations:9/repeats:1/manual_time:durable_max_ms",
     None, None),
    ("Enter cycle's end to durable, 1,000,000 numbers, median",
     "counter:BM_EnterToDurable/1000000/iterations:9/repeats:1/manual_time:after_cycle_median_ms",
     None, None),
    ("Enter cycle's end to durable, 1,000,000 numbers, maximum",
     "counter:BM_EnterToDurable/1000000/iterations:9/repeats:1/manual_time:after_cycle_max_ms",
     None, None),
    ("Window thread's processor time per Enter, 1,000,000 numbers, median",
     "counter:BM_EnterToDurable/1000000/iterations:9/repeats:1/manual_time:window_cpu_median_ms",
     None, None),
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

# Shares measured by simulation, in percent: (figure, benchmark, counter, target). A counter
# given as a pair is the ratio of the two. Targets: ("between", low, high), ("min", low).
SHARES = [
    ("Sector false alarms, fair wheel, 100 spins", "SectorFalseAlarms/100/iterations:1/repeats:1",
     "flagged_pct", ("between", 3.5, 6.5)),
    ("Sector false alarms, fair wheel, 500 spins", "SectorFalseAlarms/500/iterations:1/repeats:1",
     "flagged_pct", ("between", 3.5, 6.5)),
    ("Sector false alarms, fair wheel, 2,000 spins",
     "SectorFalseAlarms/2000/iterations:1/repeats:1", "flagged_pct", ("between", 3.5, 6.5)),
    ("Sector false alarms, fair wheel, 20,000 spins",
     "SectorFalseAlarms/20000/iterations:1/repeats:1", "flagged_pct", ("between", 3.5, 6.5)),
    ("Sector power, nine neighbours 1.2x, 2,000 spins", "SectorPower/iterations:1/repeats:1",
     "sector_pct", ("min", 75.0)),
    ("Chi-square power, same sessions", "SectorPower/iterations:1/repeats:1", "chi_square_pct",
     None),
    ("Sector power / chi-square's", "SectorPower/iterations:1/repeats:1",
     ("sector_pct", "chi_square_pct"), ("min", 1.5)),
    ("Sector flags sharing 5 of the nine", "SectorPower/iterations:1/repeats:1",
     "on_the_nine_pct", ("min", 85.0)),
]


def share_row(results, figure, bench, counter, target):
    """One row of SHARES and whether it failed."""
    r = results.get(bench)
    names = counter if isinstance(counter, tuple) else (counter,)
    values = [r["counters"].get(n) if r else None for n in names]
    if any(v is None for v in values):
        return (figure, "missing", "", "", "", "MISSING"), True
    ratio = isinstance(counter, tuple)
    value = values[0] / values[1] if ratio else values[0]
    shown = f"{value:.2f}x" if ratio else f"{value:.1f}%"
    unit = "x" if ratio else "%"
    if target is None:
        return (figure, shown, "", "", "", "reported"), False
    if target[0] == "between":
        met, goal = target[1] <= value <= target[2], f"{target[1]:g}..{target[2]:g}{unit}"
    else:
        met, goal = value >= target[1], f">= {target[1]:g}{unit}"
    return (figure, shown, "", "", goal, "met" if met else "MISSED"), not met


def reference(results, ref):
    """The reference's result; "budget:MS" is a fixed time in milliseconds."""
    if ref.startswith("budget:"):
        return {"ms": float(ref.split(":", 1)[1])}
    return results.get(ref)


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


def counter_value(results, key):
    """The counter named by "counter:BENCHMARK:COUNTER", or None when it is not there."""
    name, counter = key.split(":", 1)[1].rsplit(":", 1)
    r = results.get(name)
    return r["counters"][counter] if r and counter in r["counters"] else None


def fmt_mib(value):
    return "missing" if value is None else f"{value:.0f} MiB"


def fmt_counter(key, value):
    """A counter in its unit: milliseconds for names ending in _ms, else MiB."""
    if key.endswith("_ms"):
        return "missing" if value is None else fmt_ms(value)
    return fmt_mib(value)


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
                rows.append((figure, fmt_counter(bench, ours), "", "", "",
                             "reported" if ours is not None else "MISSING"))
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
        ours, theirs = results.get(bench), reference(results, ref)
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
    for figure, bench, counter, target in SHARES:
        row, missed = share_row(results, figure, bench, counter, target)
        rows.append(row)
        failed |= missed

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
