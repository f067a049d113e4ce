#!/usr/bin/env bash
# End to end, the ways a program ends without a save:
# - a logout or shutdown (SIGTERM, SIGHUP) or Ctrl+C (SIGINT) with an unsaved
#   sheet, within the minute before its first copy: the program ends at once
#   with 128 + the signal, leaves the copy with the typed marks and no lock;
# - marks typed and evaluated, the program killed with SIGKILL: at the next
#   start the sheet is offered, restored and saved with every mark.
# Usage: recovery.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/harness.sh"
copies="$XDG_STATE_HOME/ponsaiten/recovery"

# Types one student's row and goes back to the first column of the next.
type_row() {
  local i
  for i in $(seq 1 $#); do
    [ "$i" -gt 1 ] && xdotool key --delay 20 Tab
    xdotool type --delay 20 "${!i}"
  done
  xdotool key --delay 20 Return
}

for signal in TERM HUP INT; do
  start_program
  row=(3 2 1 "t$signal" 77)
  type_row "${row[@]}"
  sleep 0.5
  ls "$copies"/*.csv >/dev/null 2>&1 && check "no copy" "a copy" "SIG$signal: before the signal"
  kill -"$signal" "$program_pid"
  status=0
  wait "$program_pid" || status=$?
  check $((128 + $(kill -l "$signal"))) "$status" "SIG$signal: exit status"
  saved=$(cat "$copies"/*.csv 2>/dev/null | iconv -f CP932 -t UTF-8 || true)
  check 1 "$(grep -c "^$(IFS=,; echo "${row[*]}")," <<<"$saved")" "SIG$signal: the row in the copy"
  check "" "$(ls "$copies"/*.lock 2>/dev/null || true)" "SIG$signal: no lock left"
  rm -f "$copies"/*
done

start_program
expected=()
for n in 1 2 3; do
  row=(2 1 "$n" "s$n" $((n * 20 + 7)))
  type_row "${row[@]}"
  expected+=("$(IFS=,; echo "${row[*]}")")
done
# 評価計算(&H) → 評価計算実行(&G): an evaluation keeps a copy at once.
xdotool key alt+h
sleep 0.5
xdotool key g
for _ in $(seq 1 50); do
  ls "$copies"/*.csv >/dev/null 2>&1 && break
  sleep 0.2
done
stop_program

# The next start asks; Enter answers はい.
"$program" >>"$work/program.log" 2>&1 &
program_pid=$!
if question=$(find_window "^ぽん採点$"); then
  xdotool windowactivate --sync "$question" 2>/dev/null || true
  sleep 0.5
  xdotool key Return
  sleep 1.5
  save_as "$work/restored.csv"
  saved=$(iconv -f CP932 -t UTF-8 "$work/restored.csv")
  for row in "${expected[@]}"; do
    check 1 "$(grep -c "^$row," <<<"$saved")" "SIGKILL: row $row restored"
  done
else
  check "the question" "none" "SIGKILL: the next start offers the copy"
fi
finish_checks
