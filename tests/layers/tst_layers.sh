#!/usr/bin/env bash
# The include rule holds for src/, and the checker does catch a wrong include planted in a copy.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SRC=$(cd "$HERE/../../src" && pwd)
CHECK=("python3" "$HERE/check_layers.py")

"${CHECK[@]}" "$SRC"
echo "PASS: src/ keeps the include rule"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
plant() { # copy of src/ with one include added to a file; the checker must name it
  rm -rf "$tmp/src"; cp -r "$SRC" "$tmp/src"
  printf '#include "%s"\n' "$2" >>"$tmp/src/$1"
  if out=$("${CHECK[@]}" "$tmp/src"); then
    echo "FAIL: $1 including $2 was not caught"; exit 1
  fi
  grep -qF "$1:" <<<"$out" || { echo "FAIL: wrong report for $1: $out"; exit 1; }
  echo "PASS: caught $1 -> $2"
}
plant common/Text.h db/Connection.h               # leftwards only
plant db/Connection.cpp core/Session.h
plant core/Login.cpp register/DocumentFilter.h
plant core/Login.cpp core/ui/ErrorHandler.h        # widget-free code never sees screens
plant common/ui/Dialog.cpp core/ui/ErrorHandler.h  # ui folders only to their left
plant register/ui/Icons.cpp app/MainWindow.h       # nothing but app sees app
plant app/MainWindow.cpp demo/DemoData.h           # the program never links the demo
