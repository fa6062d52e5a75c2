#!/usr/bin/env bash
# Opening 24-megapixel photos side by side with the reference decoders, on the
# same files in one run: dwebp (WebP), tiffcp (TIFF, decoded and written
# uncompressed to a scratch file) and heif-convert (HEIC, to raw Y4M). Needs
# webp, libtiff-tools, libheif-examples and hyperfine.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${KRT_BENCH_DIR:-/tmp/krt-bench}
build=${1:-build/bench}
"$build/bench/photo_bench" --benchmark_filter=Jpeg >/dev/null # writes the files
[ -f "$dir/photo.heic" ] || heif-enc -q 80 "$dir/photo.png" -o "$dir/photo.heic" >/dev/null
hyperfine -N -w 2 -r 10 \
  "dwebp $dir/photo.webp -ppm -o /dev/null" \
  "tiffcp -c none $dir/photo.tif $dir/tiffcp-out.tif" \
  "heif-convert $dir/photo.heic $dir/heif-out.y4m"
"$build/bench/photo_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
