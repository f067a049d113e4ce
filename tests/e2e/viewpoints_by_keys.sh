#!/usr/bin/env bash
# End to end, as a teacher grades by viewpoints in one class:
# - four score columns get their viewpoints in the score panel (知, 思, 知,
#   態), Tab moving from column to column;
# - 評価計算 → 観点別評価 shows the letters; one is corrected by hand in the
#   panel, 決定 writes them, and the sheet is saved through the File menu;
# - the program starts again with the file: the panel run once more keeps
#   the hand-set letter, and 評価計算 → 観点別評価のコピー puts 年, 組, NO,
#   氏名, the letters and 評定 on the clipboard as the school's system takes
#   them; the grid's own copy of the letters gives the same letters.
# Usage: viewpoints_by_keys.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/harness.sh"
command -v xclip >/dev/null || { echo "missing: xclip (run scripts/setup.sh test)" >&2; exit 1; }

# Full marks 10, 10, 100, 10, weight 10 each; student 4 was absent (欠) for
# the only 思 column, student 6's 思 is exactly 50 %.
{
  printf '評価計算ｼｰﾄ(K_saiten), 10 , 10 , 10 , 10 , 100 , 10 , 10 , 10 ,\r\n25,95,-1 \r\n'
  printf '年,組,NO,氏名,小テ,課題,期末,態度,総合点,評価･評定\r\n'
  n=0
  for marks in "9 8 90 10" "5 7 60 4" "2 3 30 9" "8 欠 85 6" "10 10 100 10" "4 5 40 5"; do
    n=$((n + 1))
    read -r a b c d <<<"$marks"
    printf '2,1,%s,生徒%s,%s,%s,%s,%s,,\r\n' "$n" "$n" "$a" "$b" "$c" "$d"
  done
} | iconv -f UTF-8 -t CP932 > "$work/class.csv"

# Screen points of the maximized sheet: the score panel's 観点 choice, the
# viewpoint panel's 決定.
viewpoint_choice=(1572 416)
decide_button=(850 121)

# The choice's list opens on 「なし」; each Down is the next viewpoint.
choose_viewpoint() {
  xdotool mousemove "${viewpoint_choice[@]}" click 1
  sleep 0.5
  for _ in $(seq 1 "$1"); do xdotool key Down; done
  xdotool key Return
  sleep 0.4
}

# 評価計算(&H) → 観点別評価(&K) or 観点別評価のコピー(&C).
viewpoint_command() {
  xdotool key alt+h
  sleep 0.5
  xdotool key "$1"
  sleep 1
}

clipboard() { xclip -o -selection clipboard | od -An -c | tr -s ' '; }

start_maximized "$work/class.csv"
# Row 1 of the first score column; Tab goes on from there.
xdotool mousemove "${title_of_col[5]}" $((title_row_y + 24)) click 1
sleep 0.3
for viewpoint in 1 2 1 3; do
  choose_viewpoint "$viewpoint"
  xdotool key Tab
  sleep 0.3
done

viewpoint_command k
# The panel's table has the keys: row 2's 知 letter is three to the right.
xdotool key --delay 80 Right Right Right Down
xdotool type --delay 50 "a"
xdotool key Return
sleep 0.5
[ -n "${E2E_SHOTS:-}" ] && import -window root "$E2E_SHOTS/viewpoints-panel.png"
xdotool mousemove "${decide_button[@]}" click 1
sleep 0.8
save_as "$work/graded.csv"
stop_program

# Computed letters for student 2 would be B B C; the hand-set A must stay
# through a new computation after the file is read again.
start_maximized "$work/graded.csv"
viewpoint_command k
xdotool mousemove "${decide_button[@]}" click 1
sleep 0.8
viewpoint_command c
expected=$'2\t1\t1\t生徒1\tA\tA\tA\t5\r\n2\t1\t2\t生徒2\tA\tB\tC\t3\r\n2\t1\t3\t生徒3\tC\tC\tA\t3\r\n'
expected+=$'2\t1\t4\t生徒4\tA\t－\tB\t\r\n2\t1\t5\t生徒5\tA\tA\tA\t5\r\n2\t1\t6\t生徒6\tC\tB\tB\t3\r\n'
check "$(printf '%s' "$expected" | od -An -c | tr -s ' ')" "$(clipboard)" "the copy for the school's system"

# The grid's copy: from row 1's 知 letter (column 11, the cursor still in
# 年 of row 1) to row 6's 評定.
xdotool key --delay 60 $(printf 'Tab %.0s' $(seq 1 10))
xdotool key --delay 60 shift+Down shift+Down shift+Down shift+Down shift+Down \
  shift+Right shift+Right shift+Right
xdotool key ctrl+c
sleep 0.5
grid_expected=$'A\tA\tA\t5\r\nA\tB\tC\t3\r\nC\tC\tA\t3\r\nA\t－\tB\t\r\nA\tA\tA\t5\r\nC\tB\tB\t3\r\n'
check "$(printf '%s' "$grid_expected" | od -An -c | tr -s ' ')" "$(clipboard)" "the grid's copy of the result columns"
stop_program
finish_checks
