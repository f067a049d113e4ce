#!/usr/bin/env bash
# End to end: a logout or shutdown (SIGTERM, SIGHUP) or Ctrl+C (SIGINT) with an unsaved sheet,
# within the minute before its first copy: the program ends at once, leaves
# the copy with the typed marks and no lock file.
# Usage: recover_after_term.sh PROGRAM
set -euo pipefail

program=$(realpath "$1")
set -- "$program"
source "$(dirname "$0")/harness.sh"
copies="$XDG_STATE_HOME/ponsaiten/recovery"

for signal in TERM HUP INT; do
  "$program" >>"$work/program.log" 2>&1 &
  pid=$!
  window=$(find_window "枚のｼｰﾄがあります")
  xdotool windowactivate --sync "$window"
  sleep 1
  row=(3 2 1 "t$signal" 77)
  for i in "${!row[@]}"; do
    [ "$i" -gt 0 ] && xdotool key --delay 20 Tab
    xdotool type --delay 20 "${row[$i]}"
  done
  xdotool key --delay 20 Return
  sleep 0.5
  ls "$copies"/*.csv >/dev/null 2>&1 && { echo "FAIL: a copy before the signal" >&2; exit 1; }

  kill -"$signal" "$pid"
  status=0
  wait "$pid" || status=$?
  expected=$((128 + $(kill -l "$signal")))
  [ "$status" -eq "$expected" ] || { echo "FAIL: SIG$signal: exit $status, not $expected" >&2; cat "$work/program.log" >&2; exit 1; }
  saved=$(cat "$copies"/*.csv 2>/dev/null | iconv -f CP932 -t UTF-8) ||
    { echo "FAIL: SIG$signal left no copy" >&2; exit 1; }
  grep -q "^$(IFS=,; echo "${row[*]}")," <<<"$saved" || { echo "FAIL: SIG$signal: the row is not in the copy" >&2; exit 1; }
  locks=$(ls "$copies"/*.lock 2>/dev/null || true)
  [ -z "$locks" ] || { echo "FAIL: SIG$signal left a lock: $locks" >&2; exit 1; }
  rm -f "$copies"/*
done
echo "e2e: 3 passed, 0 failed"
