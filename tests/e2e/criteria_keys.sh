#!/usr/bin/env bash
# End to end: the evaluation criteria take a typed number and Enter, move by
# one with the arrow keys and by five with Page Up / Page Down, refuse what
# is no number with a message; after Enter the keys are the cell's again.
# Usage: criteria_keys.sh PROGRAM
set -euo pipefail

program=$(realpath "$1")
set -- "$program"
here=$(dirname "$(realpath "$0")")
source "$here/harness.sh"
source "$here/sheet_helpers.sh"

# Screen points in the 1600x1000 screen of the harness.
evaluate_button=(1390 448)
lower_box=(1180 199)
upper_box=(1180 234)

start_program
xdotool key Tab Tab Tab Tab
for mark in 30 45 60 75 90; do
  xdotool type --delay 20 "$mark"
  xdotool key Return
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
