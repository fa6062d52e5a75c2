#!/usr/bin/env bash
# What `cmake --install` gives packagers: a desktop entry and an AppStream
# description that the freedesktop tools accept, and the editor's --help.
set -u
root=$1
editor=$2
failures=0
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$root/packaging/example.krtdalmor.krtphoto.desktop" 2>&1) ||
    { echo "FAIL: desktop entry: $out"; failures=$((failures + 1)); }
else
  echo "skipped: desktop-file-validate is not installed (scripts/setup installs it)"
fi
if command -v appstreamcli >/dev/null; then
  out=$(appstreamcli validate --no-net "$root/packaging/example.krtdalmor.krtphoto.metainfo.xml" 2>&1) ||
    { echo "FAIL: metainfo: $out"; failures=$((failures + 1)); }
else
  echo "skipped: appstreamcli is not installed (scripts/setup installs it)"
fi
help=$("$editor" --help) || { echo "FAIL: krtphoto --help exits $?"; failures=$((failures + 1)); }
for word in -install -uninstall "Exit status"; do
  grep -q -- "$word" <<<"$help" || { echo "FAIL: --help does not mention $word"; failures=$((failures + 1)); }
done
[ $failures -eq 0 ] && echo "packaging checks passed"
exit $failures
