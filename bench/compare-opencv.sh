#!/usr/bin/env bash
# The filter and effect passes side by side with OpenCV on the same 6000 x 4000
# picture, in one run. Needs python3-opencv (install it by hand; it is not a
# build dependency).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${KRT_BENCH_DIR:-/tmp/krt-bench}
build=${1:-build/bench}
"$build/bench/effects_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
/usr/bin/python3 bench/opencv_reference.py "$dir/effects.bmp"
