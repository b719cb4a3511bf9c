#!/usr/bin/python3
"""The summary's verdict on missing rows: a peer that ./vexilo bench requires
(VEXILO_BENCH_PEERS) fails the summary when its rows are missing; one not required is
reported as not run. Every other figure is given a result, all targets met. The number box's
figures under X (bench/xbench.py) carry their targets: one far too slow at 1,000,000 numbers
is missed and fails the summary."""
import json
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import summary  # noqa: E402


def results_without(directory, left_out, slow=None):
    names = set()
    for _, bench, ref, _ in summary.FIGURES:
        for name in (bench, ref):
            if name:
                names.add(name.split(":", 1)[1].rsplit(":", 1)[0] if name.startswith("counter:")
                          else name)
    rows = []
    for name in sorted(names):
        if left_out and left_out in name:
            continue
        # The peers slow, ours fast, other references between: every target is met.
        ours = any(name == bench for _, bench, _, _ in summary.FIGURES)
        peer = "QCustomPlot" in name or "QtCharts" in name
        ms = 1000.0 if peer else 1.0 if ours else 10.0
        if slow and name == slow:
            ms = 300.0  # far beyond its target's ratio to its reference (10 ms)
        rows.append({"run_name": name, "name": name, "run_type": "aggregate",
                     "aggregate_name": "median", "cpu_time": ms, "real_time": ms,
                     "time_unit": "ms",
                     "VmHWM_MiB": 1, "VmHWM_before_MiB": 1})
    with open(os.path.join(directory, "all.json"), "w") as f:
        json.dump({"benchmarks": rows}, f)


def run(left_out, peers, slow=None):
    with tempfile.TemporaryDirectory() as d:
        results_without(d, left_out, slow)
        env = dict(os.environ, VEXILO_BENCH_PEERS=peers)
        p = subprocess.run([sys.executable, os.path.join(HERE, "summary.py"), d], env=env,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        return p.returncode, p.stdout


CASES = [
    # (rows left out, required peers, exit code, text that must show)
    (None, "QCustomPlot;QtCharts", 0, "met"),
    ("QtCharts", "QCustomPlot;QtCharts", 1, "MISSING: QtCharts must be compared with"),
    ("QCustomPlot", "QCustomPlot;QtCharts", 1, "MISSING: QCustomPlot must be compared with"),
    ("QtCharts", "QCustomPlot", 0, "not run (BM_QtCharts"),
    ("QtCharts", "", 0, "not run (BM_QtCharts"),
]
# The Xvfb stage's targets: a figure at 1,000,000 numbers far above its 1,000 fails them, and
# its rows missing (the X stage did not run) fail the summary too.
X_CASES = [
    (None, "QCustomPlot;QtCharts", 1, "MISSED", "XKeystroke/1000000"),
    (None, "QCustomPlot;QtCharts", 1, "MISSED", "XNumberAndEnter/1000000"),
    (None, "QCustomPlot;QtCharts", 1, "MISSED", "XAtRestPerSecond/1000000"),
    ("XKeystroke", "QCustomPlot;QtCharts", 1, "MISSING", None),
]

failures = 0
for left_out, peers, code, text, slow in [c + (None,) for c in CASES] + X_CASES:
    got, out = run(left_out, peers, slow)
    ok = got == code and text in out
    failures += not ok
    print(f"{'ok  ' if ok else 'FAIL'} without {left_out}, peers {peers!r}, slow {slow}: "
          f"exit {got}"
          + ("" if ok else f", expected {code} and {text!r}\n{out}"))
sys.exit(1 if failures else 0)
