#!/usr/bin/env bash
# End to end: what a screen reader reads over the accessibility bus (AT-SPI).
# No unnamed control in the frame, the sheet window and the evaluation panel;
# the grid is a table of the sheet's rows and columns whose focused cell
# follows real arrow keys, and the cell editor is named by that cell's place.
# F6 walks the panels (six presses reach 評価計算). Skipped (77) when the
# bus cannot start.
# Usage: accessibility.sh PROGRAM
set -euo pipefail

source "$(dirname "$0")/harness.sh"

skip() { echo "SKIP: $1" >&2; exit 77; }
reader=/usr/bin/python3
tree="$e2e_dir/accessibility_tree.py"
"$reader" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || skip "at-spi2-core is not installed"
command -v dbus-daemon >/dev/null || skip "dbus-daemon is not installed"

# A session bus of the test's own, and the accessibility bus on it.
dbus-daemon --session --fork --nopidfile --print-address=3 3>"$work/bus" || skip "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
"$launcher" --launch-immediately >>"$work/bus.log" 2>&1 &
for _ in $(seq 1 50); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 && break
  sleep 0.2
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null 2>&1 || skip "the accessibility bus did not start"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

read_tree() { timeout 60 "$reader" "$tree" "$@" 2>>"$work/reader.log"; }

start_maximized
# Marks in 点1 (the fifth column), the cursor below them.
sleep 0.5
xdotool key --delay 100 Tab Tab Tab Tab
for mark in 40 90 75; do xdotool type --delay 30 "$mark"; xdotool key Down; done
# F6 six times: 文字ｻｲｽﾞ, 固定長, the title, 最高, 重み, 評価計算; Space presses it.
for _ in 1 2 3 4 5 6; do xdotool key F6; sleep 0.1; done
xdotool key space
sleep 1.5
check yes "$(read_tree has 評価選択パネル)" "the evaluation panel is open"
check "" "$(read_tree unnamed)" "unnamed controls with the evaluation panel open"

# Esc gives the keys back to the cell; the arrows move the cursor.
xdotool key Escape
sleep 0.3
xdotool key Up Up Right Left
sleep 1
table=$(read_tree table)
check "シート 101 9" "$(head -1 <<<"$table")" "the grid's table: name, rows, columns"
check "2|5|90|" "$(sed -n 2p <<<"$table")" "the focused cell after the arrows"
check "2 行 点1" "$(read_tree editor)" "the cell editor's name after the arrows"

# A full-width mark: its cell says why it needs a look.
xdotool type --delay 30 "９"
xdotool key Up Down
sleep 1
reason=$(read_tree table | sed -n 2p | cut -d'|' -f4)
check "a reason" "${reason:+a reason}" "a look-alike mark's description"
cat "$work/reader.log" >&2
stop_program
finish_checks
