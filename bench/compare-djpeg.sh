#!/usr/bin/env bash
# JPEG decoding side by side with libjpeg-turbo's own djpeg on the same file
# (written by codec_bench). Needs libjpeg-turbo-progs and hyperfine.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${KRT_BENCH_DIR:-/tmp/krt-bench}
build=${1:-build/bench}
file=$dir/picture.jpg
[ -f "$file" ] || "$build/bench/codec_bench" --benchmark_filter=ReadJpeg >/dev/null
# djpeg's time includes reading the file and starting the process; compare it
# with codec_bench's ReadJpeg (file to pixels) and DecodeJpegFromMemory.
hyperfine -N -w 2 -r 10 "djpeg -outfile /dev/null $file" "djpeg -bmp -outfile /dev/null $file"
"$build/bench/codec_bench" --benchmark_filter='ReadJpeg|DecodeJpeg' --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true
