#!/usr/bin/env bash
# Runs one scripted session with the Windows program under Wine and with the
# Linux program, and fails unless both show the same screen text (line ends
# aside). The session has no not-a-number results: the two C libraries print
# their sign differently.
set -euo pipefail
linux_program=$1
windows_program=$2
session=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

"$linux_program" < "$session" > "$work/linux.txt"
if grep -q nan "$work/linux.txt"; then
  echo "windows session: $session gives not-a-number results; pick another" >&2
  exit 1
fi
timeout 300 wine "$windows_program" < "$session" > "$work/windows.txt" 2> "$work/wine.log"
tr -d '\r' < "$work/windows.txt" > "$work/windows-lf.txt"
if ! diff -u "$work/linux.txt" "$work/windows-lf.txt"; then
  echo "windows session: screen text differs from the Linux program's" >&2
  exit 1
fi
echo "windows session: $(wc -l < "$work/linux.txt") lines, same screen text as on Linux"
