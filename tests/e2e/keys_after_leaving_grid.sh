#!/usr/bin/env bash
# End to end: every way out of the grid and back leaves the keys with the
# current cell. A menu closed with Esc or by its command, Ctrl+F6, an
# arrangement of the windows, a click on another sheet's title bar, a click
# on a column's title, a wheel scroll: after each, the marks typed land in
# the cell the teacher is looking at, and the saved files show it. Enter
# after a run of Tabs goes to the next row where the run began. The
# evaluation criteria take keys of their own and give them back on Enter.
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

# The evaluation criteria take a typed number and Enter, move by one with the
# arrow keys and by five with Page Up / Page Down, refuse what is no number
# with a message; after Enter the keys are the cell's again.
# Screen points in the 1600x1000 screen of the harness.
evaluate_button=(1390 448)
lower_box=(1180 199)
upper_box=(1180 234)

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
