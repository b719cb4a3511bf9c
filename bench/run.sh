#!/usr/bin/env bash
# Runs every benchmark binary of the build, each with repetitions, keeps their JSON results
# in BUILD_DIR/bench/results and ends with the summary table (bench/summary.py): each
# figure beside its reference measured in the same run, the ratio and the target.
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
echo
echo "Medians over $REPS repetitions (CPU time); ratio = ours / reference."
python3 "$HERE/summary.py" "$RESULTS" || status=1
exit $status
