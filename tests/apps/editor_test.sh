#!/usr/bin/env bash
# The editor as the desktop sees it, under a virtual X server: the title the
# window manager reads, a picture named on the command line, a picture that
# cannot be read, missing built-in libraries, a layout file that is a named
# pipe, a picture to restore, and the exit status after a start-up error.
set -u
# Runs itself again inside a virtual X server.
if [ "${1:-}" != --inside ]; then
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside "$@"
fi
editor=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KRTPHOTO_HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime XDG_STATE_HOME=$work/state
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
unset QT_QPA_PLATFORM
failures=0
# One client stays connected throughout, so the server does not reset between editors.
xprop -root -spy >/dev/null 2>&1 &
keeper=$!
trap 'kill $keeper 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A 2 x 2 picture for the command line.
printf 'BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x10\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff\xff\0\0\0\0\0\0\0\0\0\xff\xff\xff\0\0' \
>"$work/doc.bmp"

# The ids of the visible windows named exactly $1 once there are at least
# ${2:-1} of them, waiting up to 15 s.
windows() {
  local ids
  for _ in $(seq 150); do
    ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)
    [ "$(echo "$ids" | grep -c .)" -ge "${2:-1}" ] && { echo "$ids"; return 0; }
    sleep 0.1
  done
  return 1
}
window() {
  local ids
  ids=$(windows "$1") || return 1
  echo "$ids" | head -1
}
title() { xprop -id "$1" _NET_WM_NAME | sed 's/^[^"]*"//; s/"$//'; }

# A picture on the command line becomes the document; the title is exactly
# the product's name and the file's name, nothing appended.
"$editor" "$work/doc.bmp" &
pid=$!
if id=$(window "KRT Dalmor's Photo Editor - doc.bmp"); then
  [ "$(title "$id")" = "KRT Dalmor's Photo Editor - doc.bmp" ] || fail "the title reads '$(title "$id")'"
else
  fail "no window titled with the opened file"
fi
kill "$pid"; wait "$pid" 2>/dev/null

# A picture that cannot be read is reported, and the editor starts anyway.
"$editor" "$work/missing.bmp" &
pid=$!
# The main window and the message box are both titled with the product's name.
if ids=$(windows "KRT Dalmor's Photo Editor" 2); then
  for id in $ids; do xdotool key --window "$id" Return 2>/dev/null; done
  sleep 0.5
  [ "$(windows "KRT Dalmor's Photo Editor" | grep -c .)" = 1 ] || fail "the editor did not stay after the message"
else
  fail "no message for an unreadable picture"
fi
kill "$pid"; wait "$pid" 2>/dev/null

# An empty program data folder: the missing built-in libraries are reported
# at start-up (the Distortion and filter menus would otherwise be silently short).
mkdir -p "$work/nodata"
KRTPHOTO_DATA=$work/nodata "$editor" &
pid=$!
if ids=$(windows "KRT Dalmor's Photo Editor" 2); then
  for id in $ids; do xdotool key --window "$id" Return 2>/dev/null; done
else
  fail "no message for missing built-in libraries"
fi
kill "$pid"; wait "$pid" 2>/dev/null

# A layout file that is a named pipe: the editor starts with the default
# layout, ends at File > Exit without blocking on the pipe, and says on
# standard error that the layout was not written.
mkdir -p "$work/fifo/krtphoto" && mkfifo "$work/fifo/krtphoto/krtphed.ini"
XDG_CONFIG_HOME=$work/fifo "$editor" 2>"$work/fifo.err" &
pid=$!
if id=$(window "KRT Dalmor's Photo Editor"); then
  xdotool mousemove --window "$id" 20 8 click 1 && sleep 0.5 && xdotool key x
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    fail "the editor did not end with a named pipe as its layout file"; kill -9 "$pid"
  fi
  wait "$pid"; rc=$?
  [ "$rc" = 0 ] || fail "Exit with a named pipe as the layout file ended with $rc"
  grep -q "window layout" "$work/fifo.err" || fail "the unwritten layout was not told on standard error"
else
  fail "the editor did not start with a named pipe as its layout file"; kill "$pid"
fi

# A picture left unsaved by an editor that was killed is offered before
# anything else; Alt+Y restores it under the title it had.
recovery=$work/state/krtphoto/recovery
mkdir -p "$recovery"
echo iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4nGP4z8AAAAMBAQDJ/pLvAAAAAElFTkSuQmCC |
  base64 -d >"$recovery/krtphoto-1-1-1.png"
printf "file=/pictures/lost.jpg\ntitle=KRT Dalmor's Photo Editor - lost.jpg\nquality=80\ntime=1800000000\npid=0\n" \
  >"$recovery/krtphoto-1-1-1.txt"
"$editor" &
pid=$!
if box=$(window "KRT Dalmor's Photo Editor"); then
  xdotool key --window "$box" alt+y 2>/dev/null
  window "KRT Dalmor's Photo Editor - lost.jpg" >/dev/null || fail "the restored picture's title is not there"
else
  fail "no question about the picture left unsaved"
fi
kill "$pid"; wait "$pid" 2>/dev/null
[ -e "$recovery/krtphoto-1-1-1.png" ] && fail "the restored copy was not taken over by the editor"

# A start-up error is shown and the editor exits with status 1.
: >"$work/not-a-folder"
KRTPHOTO_HOME=$work/not-a-folder/home "$editor" &
pid=$!
if box=$(window "KRT Dalmor's Photo Editor"); then
  xdotool key --window "$box" Return 2>/dev/null
else
  fail "no message for a start-up error"; kill "$pid"
fi
wait "$pid"; rc=$?
[ "$rc" = 1 ] || fail "a start-up error exits with $rc"

[ "$failures" = 0 ] && echo "editor from the outside: all checks passed"
exit "$failures"
