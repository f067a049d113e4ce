#!/usr/bin/env bash
# End to end, checked against a model: at typing speed over two maximized
# sheet windows, a seeded random mix of marks typed, Tab, Shift+Tab, Enter
# (after a run of Tabs: the next row where the run began),
# Ctrl+F6, each menu opened and closed with Esc, clicks on column titles,
# wheel scrolls, a title typed into the 素点情報 box and Enter back, and
# Ctrl+Z. A plain model of both sheets (cells, titles, current cells, undo
# steps) follows every step; at each checkpoint both sheets are saved and
# their files must hold exactly what the model holds.
# Usage: mixed_keys_model.sh PROGRAM [STEPS [SEED [CHECK_EVERY [CHECK_FROM]]]]
set -euo pipefail

e2e_limit=420
source "$(dirname "$0")/harness.sh"
steps=${2:-200}
seed=${3:-2126}
check_every=${4:-25}
check_from=${5:-1}

# Screen points beyond the shared ones of a maximized sheet.
title_box=(1588 303)

RANDOM=$seed
cols=8
rows=101

# The model. cell[s,r,c] (row 0: the titles); row[s], col[s]: the current
# cell; for the undo history of each sheet, steps as "r c before" lines in
# done_<s>, moved[s] (the cursor moved since the last step), saved_at[s]
# (how many steps there were at the last save, -1 none), run[s] (the column
# the current run of Tab moves began in, 0 none).
declare -A cell
titles=(年 組 NO 氏名 点1 点2 総合点 評価･評定)
for s in 1 2; do
  for c in $(seq 1 $cols); do cell[$s,0,$c]=${titles[$((c - 1))]}; done
  declare -a "done_$s=()"
done
declare -A row col moved saved_at run
run[1]=0 run[2]=0
row[1]=1 col[1]=1 row[2]=1 col[2]=1
moved[1]=0 moved[2]=0 saved_at[1]=-1 saved_at[2]=-1
active=2

steps_of() { eval "echo \${#done_$1[@]}"; }

# A change of one cell by typing: one undo step per cell until the cursor
# moves or the sheet is saved.
model_change() {
  local s=$1 r=$2 c=$3 text=$4 n last
  n=$(steps_of "$s")
  if [ "$n" -gt 0 ]; then
    eval "last=\${done_$s[$((n - 1))]}"
    read -r lr lc _ <<<"$last"
    if [ "${moved[$s]}" -eq 0 ] && [ "$lr" -eq "$r" ] && [ "$lc" -eq "$c" ] &&
       [ "${saved_at[$s]}" -ne "$n" ]; then
      cell[$s,$r,$c]=$text
      return
    fi
  fi
  [ "${saved_at[$s]}" -gt "$n" ] && saved_at[$s]=-1
  eval "done_$s+=(\"$r $c \${cell[$s,$r,$c]:-}\")"
  cell[$s,$r,$c]=$text
  moved[$s]=0
}

model_move() {
  local s=$1 r=$2 c=$3
  if [ "${row[$s]}" -ne "$r" ] || [ "${col[$s]}" -ne "$c" ]; then
    moved[$s]=1
    run[$s]=0
  fi
  row[$s]=$r
  col[$s]=$c
}

# Tab (1) or Shift+Tab (-1): a move within the row keeps or starts a run.
model_tab() {
  local s=$1 d=$2 start
  if [ $((col[$s] + d)) -lt 1 ] || [ $((col[$s] + d)) -gt $cols ]; then return 0; fi
  start=$((run[$s] > 0 ? run[$s] : col[$s]))
  model_move "$s" "${row[$s]}" $((col[$s] + d))
  run[$s]=$start
}

model_type() {
  local s=$active text=$1 i
  for ((i = 0; i < ${#text}; i++)); do
    model_change "$s" "${row[$s]}" "${col[$s]}" "${cell[$s,${row[$s]},${col[$s]}]:-}${text:i:1}"
  done
}

model_undo() {
  local s=$active n entry r c before
  n=$(steps_of "$s")
  [ "$n" -eq 0 ] && return
  eval "entry=\${done_$s[$((n - 1))]}"
  eval "unset 'done_$s[$((n - 1))]'"
  r=${entry%% *}
  entry=${entry#* }
  c=${entry%% *}
  before=${entry#* }
  cell[$s,$r,$c]=$before
  model_move "$s" $((r < 1 ? 1 : r)) "$c"
}

# The sheet file's rows as the model holds them.
model_rows() {
  local s=$1 r c line
  for ((r = 0; r < rows; r++)); do
    line=""
    for ((c = 1; c <= cols; c++)); do
      [ "$c" -gt 1 ] && line+=","
      line+=${cell[$s,$r,$c]:-}
    done
    echo "$line"
  done
}

saves=0
checkpoint() {
  local step=$1 s path other
  for s in $active $((3 - active)); do
    saves=$((saves + 1))
    path="$work/sheet$s-$saves.csv"
    save_as "$path"
    saved_at[$s]=$(steps_of "$s")
    if diff <(model_rows "$s") <(iconv -f CP932 -t UTF-8 "$path" | tr -d '\r' | tail -n +3) \
        >"$work/diff" 2>&1; then
      checks_passed=$((checks_passed + 1))
    else
      checks_failed=$((checks_failed + 1))
      echo "FAIL: after step $step, sheet $s differs from the model (< model, > file):" >&2
      head -20 "$work/diff" >&2
      echo "the last steps:" >&2
      tail -12 "$work/steps.log" >&2
      if [ -n "${E2E_SHOTS:-}" ]; then
        cp "$work/steps.log" "$path" "$E2E_SHOTS/"
        import -window root "$E2E_SHOTS/differs.png"
      fi
      finish_checks
    fi
    xdotool key ctrl+F6
    sleep 0.2
  done
}

start_maximized
xdotool mousemove "${new_sheet_button[@]}" click 1
sleep 1
# Something in each sheet, so that no save asks about an empty one.
for _ in 1 2; do
  xdotool type --delay 20 "$active"
  model_type "$active"
  xdotool key ctrl+F6
  active=$((3 - active))
done

menus=(f e v w)
for ((step = 1; step <= steps; step++)); do
  s=$active
  pick=$((RANDOM % 100))
  if [ "$pick" -lt 30 ]; then
    text=$((RANDOM % 100))
    echo "$step: type $text" >>"$work/steps.log"
    xdotool type --delay 20 "$text"
    model_type "$text"
  elif [ "$pick" -lt 40 ]; then
    echo "$step: Tab" >>"$work/steps.log"
    xdotool key Tab
    model_tab "$s" 1
  elif [ "$pick" -lt 47 ]; then
    echo "$step: Shift+Tab" >>"$work/steps.log"
    xdotool key shift+Tab
    model_tab "$s" -1
  elif [ "$pick" -lt 55 ] && [ "${row[$s]}" -lt $((rows - 2)) ]; then
    echo "$step: Enter" >>"$work/steps.log"
    xdotool key Return
    model_move "$s" $((row[$s] + 1)) $((run[$s] > 0 ? run[$s] : col[$s]))
  elif [ "$pick" -lt 62 ]; then
    echo "$step: Ctrl+F6" >>"$work/steps.log"
    xdotool key ctrl+F6
    active=$((3 - active))
  elif [ "$pick" -lt 70 ]; then
    menu=${menus[$((RANDOM % 4))]}
    echo "$step: Alt+$menu, Esc" >>"$work/steps.log"
    xdotool key "alt+$menu"
    sleep 0.2
    xdotool key Escape
  elif [ "$pick" -lt 77 ]; then
    c=$((RANDOM % cols + 1))
    echo "$step: click on the title of column $c" >>"$work/steps.log"
    xdotool mousemove "${title_of_col[$c]}" "$title_row_y" click 1
    model_move "$s" 1 "$c"
    run[$s]=0
    [ $((RANDOM % 2)) -eq 0 ] && xdotool key Escape
  elif [ "$pick" -lt 84 ]; then
    clicks=$((RANDOM % 15 + 3))
    button=$((RANDOM % 3 == 0 ? 4 : 5))
    echo "$step: wheel $clicks x button $button" >>"$work/steps.log"
    xdotool mousemove "${grid_middle[@]}" click --repeat "$clicks" --delay 10 "$button"
  elif [ "$pick" -lt 90 ] && [ "${col[$s]}" -ge 5 ] && [ "${col[$s]}" -le 6 ] &&
       [ "${row[$s]}" -lt $((rows - 2)) ]; then
    letter=$(printf "\\x$(printf %x $((97 + RANDOM % 26)))")
    echo "$step: title box, $letter, Enter" >>"$work/steps.log"
    xdotool mousemove "${title_box[@]}" click 1
    xdotool type --delay 20 "$letter"
    xdotool key Return
    model_change "$s" 0 "${col[$s]}" "${cell[$s,0,${col[$s]}]}$letter"
    model_move "$s" $((row[$s] + 1)) "${col[$s]}"
  else
    echo "$step: Ctrl+Z" >>"$work/steps.log"
    xdotool key ctrl+z
    model_undo
  fi
  sleep 0.05
  if { [ "$step" -ge "$check_from" ] && [ $((step % check_every)) -eq 0 ]; } ||
     [ "$step" -eq "$steps" ]; then
    checkpoint "$step"
  fi
done
stop_program

finish_checks
