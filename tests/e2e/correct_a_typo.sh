#!/usr/bin/env bash
# End to end, as a teacher meets a typo: a class whose full marks were typed
# as 100 holds a mistyped 150. The evaluation asks before it raises the full
# marks; answered no, it stops on that mark, the teacher corrects it, the
# evaluation runs and the file is saved with the full marks still 100, the
# totals as if the typo had never been there, and the candidate the file was
# saved with still chosen. Usage: correct_a_typo.sh PROGRAM
set -euo pipefail

program=$(realpath "$1")
set -- "$program"
source "$(dirname "$0")/harness.sh"

sheet() {  # full marks, candidate, then one mark per student
  local full=$1 candidate=$2
  shift 2
  printf '評価計算ｼｰﾄ(K_saiten), %s , 10 ,\r\n25,95,%s \r\n' "$full" "$candidate"
  printf '年,組,NO,氏名,小テ,総合点,評価･評定\r\n'
  local n=0
  for mark in "$@"; do
    n=$((n + 1))
    printf '1,1,%s,s%s,%s,%s,%s\r\n' "$n" "$n" "$mark" "${totals[$((n - 1))]}" "${grades[$((n - 1))]}"
  done
}
totals=("" "" "" "")
grades=("" "" "" "")
sheet 100 " 4" 74 80 150 90 | iconv -f UTF-8 -t CP932 > "$work/class.csv"

"$program" "$work/class.csv" >"$work/program.log" 2>&1 &
window=$(find_window "枚のｼｰﾄがあります")
xdotool windowactivate --sync "$window"
sleep 1

# 評価計算(&H) → 評価計算実行(&G); ヘルプ(&H) shares the key, and Alt+H must
# open 評価計算 every time, not the two in turn.
evaluate() {
  xdotool key alt+h
  sleep 0.5
  xdotool key g
  sleep 1
}

# The question about the 150; Esc answers no: the cursor goes to the mark.
evaluate
find_window "^確認$" >/dev/null || { echo "FAIL: no question about the mark above 100" >&2; exit 1; }
sleep 0.5
xdotool key Escape
sleep 1
xdotool key --delay 30 BackSpace BackSpace BackSpace
xdotool type --delay 30 "66"
xdotool key Return
sleep 0.5

# Evaluated again: no question now; the file's candidate 4 is chosen again.
evaluate
if xdotool search --name "^確認$" >/dev/null 2>&1; then
  echo "FAIL: asked again after the typo was corrected" >&2
  exit 1
fi

# ﾌｧｲﾙ(&F) → シート保存(&W), under a new name.
xdotool key alt+f
sleep 0.5
xdotool key w
sleep 1.5
xdotool type --delay 20 "$work/saved.csv"
xdotool key Return
for _ in $(seq 1 50); do
  [ -s "$work/saved.csv" ] && break
  sleep 0.2
done
[ -s "$work/saved.csv" ] || { echo "FAIL: nothing saved" >&2; cat "$work/program.log" >&2; exit 1; }
sleep 0.5

# Candidate 4 with the criteria 25 and 95 grades these totals as below.
totals=(" 74" " 80" " 66" " 90")
grades=(8 8 7 9)
sheet 100 " 4" 74 80 66 90 | iconv -f UTF-8 -t CP932 > "$work/expected.csv"
if cmp -s "$work/expected.csv" "$work/saved.csv"; then
  echo "e2e: 1 passed, 0 failed"
  exit 0
fi
echo "FAIL: the saved file is not the corrected class" >&2
diff <(iconv -f CP932 -t UTF-8 "$work/expected.csv") <(iconv -f CP932 -t UTF-8 "$work/saved.csv") >&2 || true
exit 1
