#!/bin/sh
# A study in parts: the parts of a study over ranges, and of one over a
# case file, each part a process that GNU parallel runs, joined in order,
# are the whole study's CSV byte for byte; more parts than points too.
# Status 77 (skipped) where GNU parallel is not installed.
program=$1
cases=$2
parallel --version 2> /dev/null | grep -q "GNU parallel" || { echo "GNU parallel is not installed: not run"; exit 77; }
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
ranges="--nu40 46 --nu100 6.8 --speed 500:4000:7 --load 20000:40000:3 --fit H7/f7"
ok=0
check() {  # check NAME PARTS ARGUMENTS...: the joined parts against the whole
  name=$1 parts=$2
  shift 2
  "$program" "$@" > "$work/whole.csv"
  seq "$parts" | parallel --will-cite -k "$program" "$@" --part {}/"$parts" > "$work/joined.csv"
  if cmp -s "$work/whole.csv" "$work/joined.csv"; then
    echo "$name in $parts parts: the same $(wc -l < "$work/whole.csv") lines"
  else
    echo "$name in $parts parts differs from the whole:"
    diff "$work/whole.csv" "$work/joined.csv" | head -5
    ok=1
  fi
}
# shellcheck disable=SC2086  # the ranges are words
check "ranges" 5 $ranges
# shellcheck disable=SC2086
check "ranges" 40 $ranges
check "a case file" 4 --nu40 46 --nu100 6.8 --inlet 40 --speed 1000:2000:2 --cases "$cases"
exit $ok
