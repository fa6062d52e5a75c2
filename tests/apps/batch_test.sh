#!/usr/bin/env bash
# krtphoto-batch from the outside: exit codes, outputs and written files.
set -u
batch=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() { # expect "description" expected-stdout expected-exit -- command...
  local what=$1 want=$2 code=$3; shift 4
  local got rc
  got=$("$@" 2>"$work/stderr"); rc=$?
  if [ "$got" != "$want" ] || [ "$rc" != "$code" ]; then
    echo "FAIL: $what: got '$got' (exit $rc), expected '$want' (exit $code); stderr: $(cat "$work/stderr")"
    failures=$((failures + 1))
  fi
}
expect_stderr() { # the last command's stderr must match
  if ! grep -q "$1" "$work/stderr"; then
    echo "FAIL: stderr should say '$1', says '$(cat "$work/stderr")'"; failures=$((failures + 1))
  fi
}

expect "power is left-associative" 64 0 -- "$batch" eval "2^3^2"
expect "sqr is the square root" 4 0 -- "$batch" eval "sqr(16)"
expect "int truncates toward zero" -2 0 -- "$batch" eval "int(0-2.7)"
expect "inputs" 6.5 0 -- "$batch" eval "x*2+cx" --var x=3 --var cx=0.5
expect "missing inputs are 0" 1 0 -- "$batch" eval "y+1"
expect "size and constants" 32000 0 -- "$batch" eval "w*a" --size 640,480 --set a=50
expect "polar inputs" 3 0 -- "$batch" eval "t+r" --polar --var t=1 --var r=2
expect "a failing point" fail 0 -- "$batch" eval "1/(x-x)"
expect "single precision" 0.100000001 0 -- "$batch" eval "1/10"
expect "incorrect formula" "" 1 -- "$batch" eval "-x"
expect_stderr "^Incorrect formula$"
expect "unknown input" "" 1 -- "$batch" eval "x" --var q=1

expect "convert" "" 0 -- "$batch" convert "$data/bmp/pal8.bmp" "$work/a.png"
expect "convert to jpeg" "" 0 -- "$batch" convert "$work/a.png" "$work/a.jpg" --quality 90
expect "convert refuses gif" "" 1 -- "$batch" convert "$work/a.png" "$work/a.gif"
expect_stderr "GIF"
head -c 500 "$data/bmp/pal8.bmp" >"$work/shortfile.bmp"
expect "convert of a broken file" "" 1 -- "$batch" convert "$work/shortfile.bmp" "$work/b.bmp"
expect_stderr "shortfile.bmp"
expect "convert of an unknown type" "" 1 -- "$batch" convert "$work/a.png.txt" "$work/b.bmp"

expect "deform by record" "" 0 -- "$batch" deform --record "W|0^0^0^0^0^0^0^0^0^0^0^0^11w-1-x|y" "$work/a.png" "$work/m.bmp"
expect "deform twice mirrors back" "" 0 -- "$batch" deform --record "W|0^0^0^0^0^0^0^0^0^0^0^0^11w-1-x|y" "$work/m.bmp" "$work/mm.bmp"
expect "convert back" "" 0 -- "$batch" convert "$work/mm.bmp" "$work/mm.png"
if ! cmp -s "$work/a.png" "$work/mm.png"; then echo "FAIL: mirroring twice changed the picture"; failures=$((failures + 1)); fi
expect "deform by name" "" 0 -- "$batch" deform --name Swirl --set a=40 --threads 2 --progress "$work/a.png" "$work/s.png"
expect "deform with a background" "" 0 -- "$batch" deform --name Shrink --background 00FF00 "$work/a.png" "$work/k.png"
expect "incorrect formula in deform" "" 1 -- "$batch" deform --record "W|0^0^0^0^0^0^0^0^0^0^0^0^01t|r+" "$work/a.png" "$work/x.png"
expect_stderr "^Incorrect formula R$"
[ ! -e "$work/x.png" ] || { echo "FAIL: a failed deform wrote a file"; failures=$((failures + 1)); }
expect "unknown name" "" 1 -- "$batch" deform --name "No such thing" "$work/a.png" "$work/x.png"
expect "constant out of range" "" 1 -- "$batch" deform --name Swirl --set a=101 "$work/a.png" "$work/x.png"
expect "help" "" 0 -- sh -c "'$batch' --help >/dev/null"

# The tool explains itself.
for command in convert deform filter effect eval list; do
  expect "$command --help" "" 0 -- sh -c "'$batch' $command --help | grep -q '^Usage: krtphoto-batch $command'"
done
expect "version" "krtphoto-batch 4.4" 0 -- "$batch" --version
expect "list" "Swirl  (polar, source)  a: Strength 20" 0 -- sh -c "'$batch' list --language en | head -1"
expect "list in Russian" "Водоворот  (полярная, источник)  a: Сила 20" 0 -- sh -c "'$batch' list --language ru | head -1"
expect "names match without regard to case" "" 0 -- "$batch" deform --name swIRL "$work/a.png" "$work/s2.png"
expect "a Russian name" "" 0 -- "$batch" deform --name "водоворот" "$work/a.png" "$work/s3.png"
expect "a near miss" "" 1 -- "$batch" deform --name Swirls "$work/a.png" "$work/x.png"
expect_stderr 'did you mean "Swirl"'
expect "deform --help gives the record format" "" 0 -- sh -c "'$batch' deform --help | grep -q 'Wave|Amp1'"

# Filters and effects.
same() { # same "description" file1 file2
  cmp -s "$2" "$3" || { echo "FAIL: $1: $2 and $3 differ"; failures=$((failures + 1)); }
}
expect "filter by name" "" 0 -- "$batch" filter --name "gaussian BLUR" "$work/a.png" "$work/g1.png"
expect "filter by record" "" 0 -- "$batch" filter --record "G|1,2,1,2,4,2,1,2,1,16" --threads 1 "$work/a.png" "$work/g2.png"
same "a filter by name and by its record" "$work/g1.png" "$work/g2.png"
expect "the identity filter" "" 0 -- "$batch" filter --record "0,0,0,0,1,0,0,0,0,1" "$work/a.png" "$work/i.png"
same "the identity filter" "$work/a.png" "$work/i.png"
expect "a record that does not parse" "" 1 -- "$batch" filter --record "B|1,x,1,1,1,1,1,1,1,9" "$work/a.png" "$work/x.png"
expect_stderr "^krtphoto-batch: 'x' is not a valid integer value$"
expect "a divisor of 0" "" 1 -- "$batch" filter --record "B|1,1,1,1,1,1,1,1,1,0" "$work/a.png" "$work/x.png"
expect_stderr "Division by zero"
[ ! -e "$work/x.png" ] || { echo "FAIL: a failed filter wrote a file"; failures=$((failures + 1)); }
expect "a filter near miss" "" 1 -- "$batch" filter --name Blurr "$work/a.png" "$work/x.png"
expect_stderr 'did you mean "Blur"'
expect "list --filters" "Blur  1,1,1,1,1,1,1,1,1,9" 0 -- sh -c "'$batch' list --filters --language en | head -1"
expect "gamma" "" 0 -- "$batch" effect gamma --red 32,16 --blue 32,48 "$work/a.png" "$work/gm.png"
expect "gamma outside the graph" "" 1 -- "$batch" effect gamma --red 64,16 "$work/a.png" "$work/x.png"
expect_stderr "inside the graph"
expect "params" "" 0 -- "$batch" effect params --saturation 0 --contrast 40 "$work/a.png" "$work/p.png"
expect "params out of range" "" 1 -- "$batch" effect params --saturation 256 "$work/a.png" "$work/x.png"
expect_stderr "between 0 and 255"
expect "button" "" 0 -- "$batch" effect button --depth 5 --raised "$work/a.png" "$work/b.png"
expect "button needs its kind" "" 1 -- "$batch" effect button --depth 5 "$work/a.png" "$work/x.png"
expect_stderr "pressed or --raised"
expect "clouds" "" 0 -- "$batch" effect clouds --roughness 10 --transparency 20 --seed 7 "$work/a.png" "$work/c1.png"
expect "the same clouds" "" 0 -- "$batch" effect clouds --roughness 10 --transparency 20 --seed 7 "$work/a.png" "$work/c2.png"
same "clouds from one seed" "$work/c1.png" "$work/c2.png"
expect "other clouds" "" 0 -- "$batch" effect clouds --roughness 10 --transparency 20 --seed 8 "$work/a.png" "$work/c3.png"
cmp -s "$work/c1.png" "$work/c3.png" && { echo "FAIL: another seed gave the same clouds"; failures=$((failures + 1)); }
expect "clouds seen through" "" 0 -- "$batch" effect clouds --roughness 10 --transparency 100 --foreground FF0000 "$work/a.png" "$work/c4.png"
same "transparency 100 keeps the picture" "$work/a.png" "$work/c4.png"
expect "clouds need their settings" "" 1 -- "$batch" effect clouds --roughness 10 "$work/a.png" "$work/x.png"
expect "emboss" "" 0 -- "$batch" effect emboss "$work/a.png" "$work/e.png"
expect "an unknown effect" "" 1 -- "$batch" effect blur "$work/a.png" "$work/x.png"
expect_stderr 'no effect is called "blur"'
expect "an option of another effect" "" 1 -- "$batch" effect emboss --depth 3 "$work/a.png" "$work/x.png"
expect_stderr "unknown option --depth"

# The content decides how a picture is read; a folder says it is one.
cp "$work/a.jpg" "$work/noextension"
expect "a JPEG without an extension" "" 0 -- "$batch" convert "$work/noextension" "$work/n.bmp"
mkdir "$work/folder.jpg"
expect "a folder as input" "" 1 -- "$batch" convert "$work/folder.jpg" "$work/n.bmp"
expect_stderr "it is a folder"

# Sampling between pixels: the identity stays exact; bad values name the good ones.
expect "bicubic identity" "" 0 -- "$batch" deform --record "I|0^0^0^0^0^0^0^0^0^0^0^0^11x|y" --sampling bicubic \
  --supersample 1 --edge wrap "$work/a.png" "$work/bi.png"
same "the identity read bicubic" "$work/a.png" "$work/bi.png"
expect "a smooth swirl" "" 0 -- "$batch" deform --name Swirl --sampling bilinear --supersample adaptive "$work/a.png" "$work/sw.png"
expect "an unknown sampling" "" 1 -- "$batch" deform --name Swirl --sampling cubic "$work/a.png" "$work/x.png"
expect_stderr "^krtphoto-batch: --sampling takes nearest, bilinear or bicubic, not \"cubic\"$"
expect "an unknown supersampling" "" 1 -- "$batch" deform --name Swirl --supersample 3 "$work/a.png" "$work/x.png"
expect_stderr "takes 1, 2, 4 or adaptive"
[ ! -e "$work/x.png" ] || { echo "FAIL: a refused deform wrote a file"; failures=$((failures + 1)); }
expect "sampling a record in target coordinates" "" 0 -- "$batch" deform --record "T|0^0^0^0^0^0^0^0^0^0^0^0^10x*2|y*2" \
  --sampling bilinear "$work/a.png" "$work/t.png"

# Many files at once: a broken one fails alone, the others are written, and
# the outcome does not depend on how many run at once.
mkdir "$work/in" "$work/one" "$work/two"
for n in 1 2 3; do cp "$work/a.png" "$work/in/p$n.png"; done
head -c 300 "$work/a.jpg" >"$work/in/broken.jpg"
expect "several inputs, one broken" "" 1 -- "$batch" deform --name Swirl --out-dir "$work/one" --format webp \
  --quality 100 --jobs 1 "$work/in/p1.png" "$work/in/broken.jpg" "$work/in/p2.png" "$work/in/p3.png"
[ "$(grep -c broken.jpg "$work/stderr")" = 1 ] || { echo "FAIL: the broken file should take one line"; failures=$((failures + 1)); }
expect_stderr "^krtphoto-batch: 1 of 4 files failed$"
expect "the same with two jobs" "" 1 -- "$batch" deform --name Swirl --out-dir "$work/two" --format webp \
  --quality 100 --jobs 2 "$work/in/p1.png" "$work/in/broken.jpg" "$work/in/p2.png" "$work/in/p3.png"
for n in 1 2 3; do same "--jobs 2 and --jobs 1" "$work/one/p$n.webp" "$work/two/p$n.webp"; done
[ ! -e "$work/one/broken.webp" ] || { echo "FAIL: a broken input left an output"; failures=$((failures + 1)); }
expect "outputs are not overwritten" "" 1 -- "$batch" convert --out-dir "$work/one" --format webp "$work/in/p1.png"
expect_stderr "exists (--overwrite replaces it)"
expect "unless asked" "" 0 -- "$batch" convert --out-dir "$work/one" --format png --overwrite "$work/in/p1.png"
same "convert keeps the pixels" "$work/a.png" "$work/one/p1.png"
expect "--jobs without --out-dir" "" 1 -- "$batch" convert --jobs 2 "$work/a.png" "$work/x.png"
expect "--format that cannot be written" "" 1 -- "$batch" convert --out-dir "$work/one" --format gif "$work/a.png"

# Input checks.
for colour in -12345 " 12345" +12345 0x1234 12345 1234567 GGGGGG; do
  expect "background $colour" "" 1 -- "$batch" deform --name Swirl --background "$colour" "$work/a.png" "$work/x.png"
done
for value in nan inf -inf 1e39; do
  expect "eval --var x=$value" "" 1 -- "$batch" eval x --var "x=$value"
  expect_stderr "finite number"
done
expect "a library that is missing" "" 1 -- "$batch" deform --name Swirl --library "$work/none.prg" "$work/a.png" "$work/x.png"
expect_stderr "is missing"
expect "a library that is a folder" "" 1 -- "$batch" deform --name Swirl --library "$work" "$work/a.png" "$work/x.png"
expect_stderr "it is a folder"
expect "a library that is a device" "" 1 -- timeout 10 "$batch" deform --name Swirl --library /dev/zero "$work/a.png" "$work/x.png"
expect_stderr "not a regular file"
printf 'many\r\nSwirl|x1^1^0^0^0^0^0^0^0^0^0^0^11x|y\r\n' >"$work/damaged.prg"
expect "a damaged library" "" 1 -- "$batch" deform --name Swirl --library "$work/damaged.prg" "$work/a.png" "$work/x.png"
expect_stderr "number of its records"

[ $failures -eq 0 ] && echo "all batch checks passed"
exit $failures
