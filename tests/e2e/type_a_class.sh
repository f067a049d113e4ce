#!/usr/bin/env bash
# End to end, as a teacher works: the real program under a virtual X server
# with a window manager, a class typed row by row with real key events, the
# sheet saved through the File menu by its access keys, the file's bytes
# checked. Usage: type_a_class.sh PROGRAM
set -euo pipefail

program=$(realpath "$1")
set -- "$program"
source "$(dirname "$0")/harness.sh"
"$program" >"$work/program.log" 2>&1 &
window=$(find_window "枚のｼｰﾄがあります")
xdotool windowactivate --sync "$window"
sleep 1

# Ten students: year, class, number, name and two marks, Tab between them,
# Enter at the end of the row, Shift+Tab back to the first column.
expected_rows=()
for n in $(seq 1 10); do
  row=(2 $((n % 3 + 1)) "$n" "s$n" $((n * 7 % 101)) $((n * 13 % 101)))
  for i in "${!row[@]}"; do
    [ "$i" -gt 0 ] && xdotool key --delay 20 Tab
    xdotool type --delay 20 "${row[$i]}"
  done
  xdotool key --delay 20 Return shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
  expected_rows+=("$(IFS=,; echo "${row[*]}"),,")
done

# ﾌｧｲﾙ(&F) → シート保存(&W), then the file name in the save dialog.
xdotool key alt+f
sleep 0.5
xdotool key w
sleep 1.5
xdotool type --delay 20 "$work/class.csv"
xdotool key Return
for _ in $(seq 1 50); do
  [ -s "$work/class.csv" ] && break
  sleep 0.2
done
[ -s "$work/class.csv" ] || { echo "FAIL: nothing saved" >&2; cat "$work/program.log" >&2; exit 1; }
sleep 0.5

{
  printf '評価計算ｼｰﾄ(K_saiten), 0 , 10 , 0 , 10 ,\r\n25,95,-1 \r\n'
  printf '年,組,NO,氏名,点1,点2,総合点,評価･評定\r\n'
  for row in "${expected_rows[@]}"; do printf '%s\r\n' "$row"; done
  for _ in $(seq 11 100); do printf ',,,,,,,\r\n'; done
} | iconv -f UTF-8 -t CP932 > "$work/expected.csv"

if cmp -s "$work/expected.csv" "$work/class.csv"; then
  echo "e2e: 1 passed, 0 failed"
  exit 0
fi
echo "FAIL: the saved file differs from what was typed" >&2
diff <(iconv -f CP932 -t UTF-8 "$work/expected.csv") <(iconv -f CP932 -t UTF-8 "$work/class.csv") >&2 || true
exit 1
