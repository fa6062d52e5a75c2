#!/usr/bin/env bash
# Our warps beside G'MIC's `warp` on the same 4000 x 3000 picture, whole
# process (read a BMP, warp, write a BMP), in one run with hyperfine. G'MIC
# gets the same displacement as a field its math parser computes, read
# backward-absolute with linear interpolation (`warp[0] [1],0,1,0`), so both
# read each destination pixel's source point between the pixels; the field is
# G'MIC's way to state a warp, so it counts in its time. Needs gmic, hyperfine
# and ImageMagick (install them by hand; they are not build dependencies).
#   wave: each row moved sideways by 10 sin(y/16)
#   swirl: T' = t + max(0, 1 - r/(w/2)), R' = r around the centre
#   shrink: the zone-plate transform, 3.7 times smaller and turned 17 degrees
set -euo pipefail
cd "$(dirname "$0")/.."
batch=${1:-build/test-release/apps/krtphoto-batch/krtphoto-batch}
dir=${KRT_BENCH_DIR:-/tmp/krt-bench}
mkdir -p "$dir"
in=$dir/photo12.bmp
[ -f "$in" ] || convert -size 4000x3000 -seed 3 plasma:fractal "$in"

wave='Wave|A1^10^B1^15^0^0^0^0^0^0^0^0^11x+a*sin(y/(b+1))|y'
gmic_wave='c?y:x+10*sin(y/16)'
swirl='Swirl|A1^20^0^0^0^0^0^0^0^0^0^0^01t+a/20*((1-r/(w/2))+abs(1-r/(w/2)))/2|r'
gmic_swirl='dx=x-w/2;dy=y-h/2;r=sqrt(dx^2+dy^2);T=atan2(dy,dx)+max(0,1-r/(w/2));c?h/2+r*sin(T):w/2+r*cos(T)'
k=3.7 a=0.296706 # 17 degrees
shrink="Shrink|0^0^0^0^0^0^0^0^0^0^0^0^112000+$k*(cx*cos($a)-cy*sin($a))|1500+$k*(cx*sin($a)+cy*cos($a))"
gmic_shrink="X=x-w/2;Y=y-h/2;c?h/2+$k*(X*sin($a)+Y*cos($a)):w/2+$k*(X*cos($a)-Y*sin($a))"

ours() { echo "$batch deform --background 000000 --record '$1' ${2:-} $in $dir/out-ours.bmp"; }
theirs() { echo "gmic -v -1 $in 100%,100%,1,2,'$1' warp[0] [1],0,1,0 rm[1] o $dir/out-gmic.bmp"; }

hyperfine --warmup 1 --runs "${KRT_RUNS:-5}" --export-markdown "$dir/gmic.md" \
  -n "ours wave nearest" "$(ours "$wave")" \
  -n "ours wave bilinear" "$(ours "$wave" "--sampling bilinear")" \
  -n "G'MIC wave linear" "$(theirs "$gmic_wave")" \
  -n "ours swirl nearest" "$(ours "$swirl")" \
  -n "ours swirl bilinear" "$(ours "$swirl" "--sampling bilinear")" \
  -n "G'MIC swirl linear" "$(theirs "$gmic_swirl")" \
  -n "ours shrink nearest" "$(ours "$shrink")" \
  -n "ours shrink bilinear" "$(ours "$shrink" "--sampling bilinear")" \
  -n "ours shrink bilinear adaptive" "$(ours "$shrink" "--sampling bilinear --supersample adaptive")" \
  -n "G'MIC shrink linear" "$(theirs "$gmic_shrink")"
cat "$dir/gmic.md"
# How alike the two bilinear results are (the same displacement, read alike).
"$batch" deform --background 000000 --record "$swirl" --sampling bilinear "$in" "$dir/out-ours.bmp"
gmic -v -1 "$in" 100%,100%,1,2,"$gmic_swirl" warp[0] [1],0,1,0 rm[1] o "$dir/out-gmic.bmp"
echo "swirl, ours against G'MIC: $(compare -metric PSNR "$dir/out-ours.bmp" "$dir/out-gmic.bmp" null: 2>&1) dB"
