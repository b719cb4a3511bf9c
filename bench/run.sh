#!/usr/bin/env bash
# Runs every benchmark binary of the build, each with repetitions, keeps their JSON results
# in BUILD_DIR/bench/results and ends with the summary table (bench/summary.py): each
# figure beside its reference measured in the same run, the ratio and the target.
# The Xvfb stage (bench/xbench.py) runs the real program on the X platform and measures what
# typing into the number box costs at 1,000, 100,000 and 1,000,000 numbers.
#
#   bench/run.sh BUILD_DIR [extra benchmark flags]
#   VEXILO_BENCH_REPETITIONS=N   repetitions per benchmark (default 5)
set -uo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD_DIR="$1"; shift || true
RESULTS="$BUILD_DIR/bench/results"
REPS="${VEXILO_BENCH_REPETITIONS:-5}"
export QT_QPA_PLATFORM=offscreen
rm -rf "$RESULTS"
mkdir -p "$RESULTS"
status=0
for b in "$BUILD_DIR"/bench/*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    name="$(basename "$b")"
    echo "== $name"
    "$b" --benchmark_repetitions="$REPS" --benchmark_report_aggregates_only=true \
        --benchmark_out="$RESULTS/$name.json" --benchmark_out_format=json "$@" || status=1
done
# The number box in the real program on the real X platform, under a private Xvfb.
echo "== xbench (build/bin/Vexilo under Xvfb)"
/usr/bin/python3 "$HERE/xbench.py" --exe "$BUILD_DIR/bin/Vexilo" --out "$RESULTS/xbench.json" \
    --artifacts "$BUILD_DIR/bench/xbench-artifacts" || status=1
echo
echo "Medians over $REPS repetitions (CPU time); ratio = ours / reference."
python3 "$HERE/summary.py" "$RESULTS" || status=1
exit $status
