#!/usr/bin/env bash
# End to end: every way out of the grid and back leaves the keys with the
# current cell. A menu closed with Esc or by its command, Ctrl+F6, an
# arrangement of the windows, a click on another sheet's title bar, a click
# on a column's title, a wheel scroll: after each, the marks typed land in
# the cell the teacher is looking at, and the saved files show it. So after
# the side boxes (Esc puts them back) and the panels' buttons. Enter after a
# run of Tabs goes to the next row where the run began. The evaluation
# criteria take keys of their own and give them back on Enter.
# Usage: keys_after_leaving_grid.sh PROGRAM
set -euo pipefail

source "$(dirname "$0")/harness.sh"

# Screen points beyond the shared ones of a maximized sheet.
back_title_bar=(600 112)

# Menus: closed with Esc, or by a command, the next keys go to the cell and
# Ctrl+Z undoes there.
start_maximized
xdotool type --delay 30 87
xdotool key Tab
xdotool type --delay 30 1
xdotool key alt+e
sleep 0.3
xdotool key Escape
sleep 0.3
xdotool type --delay 30 7
xdotool key alt+v
sleep 0.3
xdotool key Escape
sleep 0.3
xdotool key ctrl+z
xdotool type --delay 30 3
xdotool key alt+w
sleep 0.3
xdotool key c
sleep 0.5
xdotool type --delay 30 4
# Keys right behind Esc, in one burst: they must not walk the menus.
# The Tab run began in column 1: its Enter goes there, the next one down.
xdotool key --delay 5 alt+v Escape Tab Return Return
xdotool type --delay 30 6
# Shift+Enter ends a run; the next run begins in column 3.
xdotool key Tab Tab Tab shift+Return
xdotool type --delay 30 50
xdotool key Tab
xdotool type --delay 30 60
xdotool key Return
xdotool type --delay 30 51
xdotool key Return
xdotool type --delay 30 52
save_as "$work/menus.csv"
check 87 "$(saved_cell "$work/menus.csv" 1 1)" "menus: first cell"
check 34 "$(saved_cell "$work/menus.csv" 1 2)" "menus: keys after Esc, Ctrl+Z and a command"
check 6 "$(saved_cell "$work/menus.csv" 3 1)" "menus: a burst of keys after Esc"
check "50 60 51 52" "$(for rc in '3 3' '3 4' '4 3' '5 3'; do saved_cell "$work/menus.csv" $rc; done | xargs)" \
  "Tab runs: Enter to the run's first column, then straight down"
check 101 "$(($(iconv -f CP932 -t UTF-8 "$work/menus.csv" | wc -l) - 2))" "menus: no row inserted"
stop_program

# Window switches: Ctrl+F6, 重ねて表示, a title bar click, 上下に並べて表示.
# The current cells are score cells: a key in the 素点情報 title box would
# rename the column.
start_maximized
xdotool key Tab Tab Tab Tab
xdotool type --delay 30 70
xdotool mousemove "${new_sheet_button[@]}" click 1
sleep 1
xdotool key Tab Tab Tab Tab
xdotool type --delay 30 60
xdotool key ctrl+F6
xdotool type --delay 30 1
xdotool key ctrl+F6
xdotool type --delay 30 2
xdotool key alt+w
sleep 0.3
xdotool key c
xdotool type --delay 30 3
sleep 0.3
xdotool mousemove "${back_title_bar[@]}" click 1
xdotool type --delay 30 4
xdotool key alt+w
sleep 0.3
xdotool key h
xdotool type --delay 30 5
save_as "$work/first.csv"
xdotool key ctrl+F6
save_as "$work/second.csv"
check 70145 "$(saved_cell "$work/first.csv" 1 5)" "switches: first sheet's mark"
check 点1 "$(saved_cell "$work/first.csv" 0 5)" "switches: first sheet's title"
check 6023 "$(saved_cell "$work/second.csv" 1 5)" "switches: second sheet's mark"
check 点1 "$(saved_cell "$work/second.csv" 0 5)" "switches: second sheet's title"
stop_program

# A click on a column's title: typing goes to its first cell, Esc collapses
# the selection to that cell (Shift+Delete then clears that cell only), and
# Ctrl+Z undoes what was typed.
start_maximized
xdotool key Tab Tab Tab Tab
xdotool type --delay 30 70
xdotool key Down
xdotool type --delay 30 80
# Twice, quickly: a double click is two presses.
xdotool mousemove "${title_of_col[6]}" "$title_row_y" click --repeat 2 --delay 60 1
sleep 0.3
xdotool type --delay 30 9
xdotool key Escape
xdotool type --delay 30 4
xdotool key Tab
xdotool type --delay 30 1
xdotool key ctrl+z
xdotool mousemove "${title_of_col[5]}" "$title_row_y" click 1
sleep 0.3
xdotool key Escape shift+Delete
save_as "$work/titles.csv"
check "" "$(saved_cell "$work/titles.csv" 1 5)" "title click: Shift+Delete after Esc clears the first cell"
check 80 "$(saved_cell "$work/titles.csv" 2 5)" "title click: and only that cell"
check 94 "$(saved_cell "$work/titles.csv" 1 6)" "title click: typing and Esc"
check "" "$(saved_cell "$work/titles.csv" 1 7)" "title click: Ctrl+Z"
check "" "$(saved_cell "$work/titles.csv" 100 6)" "title click: nothing typed into the last row"
stop_program

# A wheel scroll takes the current cell out of view: typing brings it back
# and types there; Enter moves on from it.
start_maximized
xdotool key Return Return
xdotool mousemove "${grid_middle[@]}"
xdotool click --repeat 12 --delay 20 5
sleep 0.3
xdotool type --delay 30 55
xdotool click --repeat 12 --delay 20 5
sleep 0.3
xdotool type --delay 30 6
xdotool key Return
xdotool type --delay 30 7
save_as "$work/wheel.csv"
check 556 "$(saved_cell "$work/wheel.csv" 3 1)" "wheel: typed into the current cell"
check 7 "$(saved_cell "$work/wheel.csv" 4 1)" "wheel: Enter moves on from it"
stop_program

# Screen points of the first sheet as it starts, in the 1600x1000 screen.
evaluate_button=(1390 476)
lower_box=(1180 199)
upper_box=(1180 234)
upper_arrow_up=(1282 228) fixed_length_up=(1424 261)
title_box=(1390 327) weight_box=(1408 385) decide_button=(1244 358) abort_button=(1244 411)

# Words: @name clicks the point of that name, ^keys presses keys, anything
# else is typed.
play() {
  local word
  for word in "$@"; do
    case $word in
      @*) local -n point=${word#@}; xdotool mousemove "${point[@]}" click 1; sleep 0.4 ;;
      ^*) xdotool key ${word#^} ;;
      *) xdotool type --delay 30 "$word" ;;
    esac
  done
}

# After a side box or a panel's button the next key adds to the cell's mark;
# Esc puts a box back. Then Ctrl+C, X, V on two cells; a fixed-length redo.
start_program
play "^Tab Tab Tab Tab" 34 @evaluate_button 1 ^Return 56 @abort_button 7 ^Return \
  12 @title_box x ^Escape 3 ^Return 45 @weight_box 917 ^Escape 6 ^Return \
  78 @title_box ^Return 9 "^Return Return" 11 @evaluate_button @lower_box ^ctrl+a 40 ^Up ^Escape 2 \
  @upper_arrow_up ^Escape 4 ^Return 22 @decide_button 3 ^Tab 81 ^Down 82 \
  "^Up shift+Down ctrl+c Down Down ctrl+v shift+Down ctrl+x Down Down ctrl+v Down Down Down Down" \
  @fixed_length_up @fixed_length_up 07 "^ctrl+z ctrl+y" 95
save_as "$work/boxes.csv"
criteria=$(iconv -f CP932 -t UTF-8 "$work/boxes.csv" | tr -d '\r' | sed -n 2p | cut -d, -f1,2)
check 341 "$(saved_cell "$work/boxes.csv" 1 5)" "boxes: a key after the 評価計算 button"
check 567 "$(saved_cell "$work/boxes.csv" 2 5)" "boxes: a key after 中止 adds to the mark"
check 点1,123 "$(saved_cell "$work/boxes.csv" 0 5),$(saved_cell "$work/boxes.csv" 3 5)" "boxes: Esc in the title box"
check 10,456 "$(head -1 "$work/boxes.csv" | cut -d, -f3 | tr -d ' '),$(saved_cell "$work/boxes.csv" 4 5)" "boxes: Esc in 重み"
check 789 "$(saved_cell "$work/boxes.csv" 5 5)" "boxes: Enter in the title box stays on the cell"
check 25,95,1124 "$criteria,$(saved_cell "$work/boxes.csv" 7 5)" "boxes: Esc in a criterion and its arrows"
check 223 "$(saved_cell "$work/boxes.csv" 8 5)" "boxes: a key after 決定 adds to the mark"
check 81,82,,,81,82 "$(for r in 8 9 10 11 12 13; do printf %s, "$(saved_cell "$work/boxes.csv" $r 6)"; done | sed 's/,$//')" \
  "boxes: Ctrl+C, Ctrl+X and Ctrl+V on two cells"
check 07,95 "$(saved_cell "$work/boxes.csv" 16 6),$(saved_cell "$work/boxes.csv" 17 6)" "boxes: redo leaves the cursor below the mark"
stop_program

# The evaluation criteria take a typed number and Enter, move by one with the
# arrow keys and by five with Page Up / Page Down, refuse what is no number
# with a message; after Enter the keys are the cell's again.

start_program
xdotool key Tab Tab Tab Tab
for mark in 30 45 60 75 90; do
  xdotool type --delay 20 "$mark"
  xdotool key Down
done
xdotool mousemove "${evaluate_button[@]}" click 1
sleep 1
xdotool mousemove "${upper_box[@]}" click 1
xdotool key ctrl+a
xdotool type --delay 30 88
xdotool key Return
# Enter confirmed the box and gave the keys back to the current cell.
xdotool type --delay 30 7
xdotool mousemove "${lower_box[@]}" click 1
xdotool key Next Up
xdotool key ctrl+a
xdotool type --delay 30 abc
xdotool key Return
if box_appears "ぽん採点" 5; then
  xdotool key Return
  sleep 0.5
else
  check "a message" "none" "a criterion that is no number"
fi
xdotool mousemove "${upper_box[@]}" click 1
xdotool key Prior
save_as "$work/criteria.csv"
criteria=$(iconv -f CP932 -t UTF-8 "$work/criteria.csv" | tr -d '\r' | sed -n 2p | cut -d, -f1,2)
check " 21, 93" "$criteria" "criteria: 88 typed, then Page Up; 25, Page Down, Up, then abc refused"
check 7 "$(saved_cell "$work/criteria.csv" 6 5)" "criteria: the key after Enter went to the cell"
stop_program

finish_checks
