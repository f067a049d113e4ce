#!/usr/bin/env bash
# End to end, as a teacher works, in one run of the real program:
# - started with two sheet files, it opens each in a sheet window of its own;
# - a class whose full marks were typed as 100 holds a mistyped 150: the
#   evaluation asks before it raises the full marks; answered no, it stops on
#   that mark, the teacher corrects it, the evaluation runs and the file is
#   saved with the full marks still 100, the totals as if the typo had never
#   been there, and the candidate the file was saved with still chosen;
# - a new sheet gets a class typed row by row with real keys, saved through
#   the File menu by its access keys; the file's bytes are checked.
# Usage: a_class_by_keys.sh PROGRAM DATA_FOLDER
set -euo pipefail
source "$(dirname "$0")/harness.sh"
data=$2

# A sheet file: full marks, candidate, then one mark per student, with the
# totals and grades of the arrays below.
typo_sheet() {
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
typo_sheet 100 " 4" 74 80 150 90 | iconv -f UTF-8 -t CP932 > "$work/class.csv"

# Two files on the command line: two sheets; the last one is in front.
start_program "$data/evaluate_five.csv" "$work/class.csv"
check 2 "$(sheet_count)" "two files: the frame counts two sheets"

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
if find_window "^確認$" >/dev/null; then
  sleep 0.5
  xdotool key Escape
  sleep 1
else
  check "a question" "none" "typo: the mark above the full marks"
fi
xdotool key --delay 30 BackSpace BackSpace BackSpace
xdotool type --delay 30 "66"
xdotool key Return
sleep 0.5

# Evaluated again: no question now; the file's candidate 4 is chosen again.
evaluate
if xdotool search --name "^確認$" >/dev/null 2>&1; then
  check "no question" "a question" "typo: asked again after it was corrected"
  xdotool key Escape
fi
save_as "$work/saved.csv"
# Candidate 4 with the criteria 25 and 95 grades these totals as below.
totals=(" 74" " 80" " 66" " 90")
grades=(8 8 7 9)
typo_sheet 100 " 4" 74 80 66 90 | iconv -f UTF-8 -t CP932 > "$work/expected.csv"
check_same_file "$work/expected.csv" "$work/saved.csv" "typo: the corrected class as saved"

# A new sheet: ten students, year, class, number, name and two marks, Tab
# between them, Enter at the end of the row: the next row's first column.
xdotool mousemove "${new_sheet_button[@]}" click 1
sleep 1
expected_rows=()
for n in $(seq 1 10); do
  row=(2 $((n % 3 + 1)) "$n" "s$n" $((n * 7 % 101)) $((n * 13 % 101)))
  for i in "${!row[@]}"; do
    [ "$i" -gt 0 ] && xdotool key --delay 20 Tab
    xdotool type --delay 20 "${row[$i]}"
  done
  xdotool key --delay 20 Return
  expected_rows+=("$(IFS=,; echo "${row[*]}"),,")
done
save_as "$work/class_typed.csv"
{
  printf '評価計算ｼｰﾄ(K_saiten), 0 , 10 , 0 , 10 ,\r\n25,95,-1 \r\n'
  printf '年,組,NO,氏名,点1,点2,総合点,評価･評定\r\n'
  for row in "${expected_rows[@]}"; do printf '%s\r\n' "$row"; done
  for _ in $(seq 11 100); do printf ',,,,,,,\r\n'; done
} | iconv -f UTF-8 -t CP932 > "$work/expected_typed.csv"
check_same_file "$work/expected_typed.csv" "$work/class_typed.csv" "a class typed row by row"
finish_checks
