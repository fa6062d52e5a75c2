#!/usr/bin/env bash
# The floor check itself: the tree as it is passes, and each kind of wrong
# include, planted in a scratch copy, is refused with its file, line and rule.
set -u
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

fresh() {
  rm -rf "$work/copy"
  mkdir -p "$work/copy/docs" "$work/copy/scripts"
  cp -r "$root/src" "$work/copy/"
  cp "$root/docs/ARCHITECTURE.md" "$work/copy/docs/"
  cp "$root/scripts/check-floors" "$work/copy/scripts/"
}

fresh
"$work/copy/scripts/check-floors" "$work/copy" >"$work/out" 2>&1 || fail "the tree as it is was refused: $(cat "$work/out")"

# file | the line planted at its top | words the refusal must hold
while IFS='|' read -r file planted words; do
  fresh
  { echo "$planted"; cat "$work/copy/$file"; } >"$work/planted" && mv "$work/planted" "$work/copy/$file"
  if "$work/copy/scripts/check-floors" "$work/copy" >"$work/out" 2>&1; then
    fail "$file: '$planted' passed the check"
  elif ! grep -q "^$file:1: .*$words" "$work/out"; then
    fail "$file: '$planted' was refused without '$file:1: … $words': $(head -1 "$work/out")"
  fi
done <<'PLANTS'
src/deform/Warp.cpp|#include "../app/EditCommands.h"|relative includes are refused
src/deform/Warp.cpp|#include "Warp.h"|relative includes are refused
src/deform/Warp.cpp|#include <QtCore/QString>|includes Qt
src/deform/Warp.cpp|#include <QString>|includes Qt
src/effects/Gamma.cpp|#include <qglobal.h>|includes Qt
src/effects/Gamma.cpp|#include "deform/Warp.h"|are branches, which never include each other
src/deform/ui/EffectForm.cpp|#include "effects/ui/GammaForm.h"|are branches, which never include each other
src/paint/ToolChoice.cpp|#include "app/EditCommands.h"|does not let paint use app
src/core/FastBMP.cpp|#include "document/Editor.h"|does not let core use document
src/paint/View.cpp|#include "paint/ui/EditForm.h"|never includes a window
PLANTS

[ "$failures" = 0 ] && echo "floor check: the tree passes and every planted include is refused"
exit "$failures"
