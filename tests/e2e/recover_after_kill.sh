#!/usr/bin/env bash
# End to end: marks typed and evaluated, the program killed with SIGKILL, and
# at the next start the sheet offered, restored and saved with every mark.
# Usage: recover_after_kill.sh PROGRAM
set -euo pipefail

program=$(realpath "$1")
set -- "$program"
source "$(dirname "$0")/harness.sh"
copies="$XDG_STATE_HOME/ponsaiten/recovery"

start() {
  "$program" >>"$work/program.log" 2>&1 &
  pid=$!
  window=$(find_window "枚のｼｰﾄがあります")
  xdotool windowactivate --sync "$window"
  sleep 1
}

start
expected=()
for n in 1 2 3; do
  row=(2 1 "$n" "s$n" $((n * 20 + 7)))
  for i in "${!row[@]}"; do
    [ "$i" -gt 0 ] && xdotool key --delay 20 Tab
    xdotool type --delay 20 "${row[$i]}"
  done
  xdotool key --delay 20 Return shift+Tab shift+Tab shift+Tab shift+Tab
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
ls "$copies"/*.csv >/dev/null 2>&1 || { echo "FAIL: no recovery copy was kept" >&2; exit 1; }

kill -9 "$pid"
wait "$pid" 2>/dev/null || true

# The next start asks; Enter answers はい.
"$program" >>"$work/program.log" 2>&1 &
pid=$!
question=$(find_window "^ぽん採点$")
xdotool windowactivate --sync "$question" 2>/dev/null || true
sleep 0.5
xdotool key Return
sleep 1.5

# ﾌｧｲﾙ(&F) → シート保存(&W) into a new file.
xdotool key alt+f
sleep 0.5
xdotool key w
sleep 1.5
xdotool type --delay 20 "$work/restored.csv"
xdotool key Return
for _ in $(seq 1 50); do
  [ -s "$work/restored.csv" ] && break
  sleep 0.2
done
[ -s "$work/restored.csv" ] || { echo "FAIL: nothing restored and saved" >&2; cat "$work/program.log" >&2; exit 1; }

saved=$(iconv -f CP932 -t UTF-8 "$work/restored.csv")
for row in "${expected[@]}"; do
  grep -q "^$row," <<<"$saved" || { echo "FAIL: row $row lost" >&2; echo "$saved" | head -8 >&2; exit 1; }
done
echo "e2e: 1 passed, 0 failed"
