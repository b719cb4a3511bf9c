#!/usr/bin/env bash
# Runs every benchmark binary of the build and prints its results.
set -euo pipefail
BUILD_DIR="$1"; shift || true
export QT_QPA_PLATFORM=offscreen
status=0
for b in "$BUILD_DIR"/bench/*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@" || status=1
done
exit $status
