#!/usr/bin/env bash
# The zone-plate shrink of warp_quality_bench beside ImageMagick's EWA
# resampling of the same transform (-distort SRT, Robidoux filter): both
# against the ideal picture, in dB. ImageMagick turns the other way round to
# us (its angle is the forward rotation), so it is given -17.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
dir=${KRT_BENCH_DIR:-/tmp/krt-bench}
mkdir -p "$dir"
KRT_PLATE_PICTURE=$dir/zoneplate.png "$build/bench/warp_quality_bench" --benchmark_filter=WritePlate >/dev/null
/usr/bin/time -f "ImageMagick EWA: %e s" convert "$dir/zoneplate.png" -virtual-pixel white \
  -distort SRT "512,512 $(echo 'scale=6; 1/3.7' | bc) -17 512,512" "$dir/zoneplate-im.png"
KRT_PEER_PICTURE=$dir/zoneplate-im.png "$build/bench/warp_quality_bench"
