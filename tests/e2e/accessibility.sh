#!/usr/bin/env bash
# End to end: what a screen reader reads over AT-SPI. No unnamed control in
# the frame, the sheet window, the evaluation panel (opened by F6 and Space)
# and the viewpoint panel;
# the grid a table whose focused cell follows real arrow keys, a look-alike
# mark saying why. Skipped (77) when the bus cannot start.
# Usage: accessibility.sh PROGRAM
set -euo pipefail

source "$(dirname "$0")/harness.sh"

skip() { echo "SKIP: $1" >&2; exit 77; }
reader=/usr/bin/python3 launcher=/usr/libexec/at-spi-bus-launcher
"$reader" -c 'import pyatspi' 2>/dev/null && [ -x "$launcher" ] && command -v dbus-daemon >/dev/null ||
  skip "needs python3-pyatspi, at-spi2-core and dbus-daemon"

# A session bus of the test's own and the accessibility bus on it, both
# ended with the test (the launcher's own bus daemon too).
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" &
bus_pid=$!
bus_up() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; }
for _ in $(seq 1 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus") QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$launcher" --launch-immediately >>"$work/bus.log" 2>&1 &
launcher_pid=$!
trap 'kill $(pgrep -P "$launcher_pid") "$launcher_pid" "$bus_pid" 2>/dev/null; kill -9 $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 50); do bus_up && break; sleep 0.2; done
bus_up || skip "the accessibility bus did not start"
read_tree() { timeout 60 "$reader" "$e2e_dir/accessibility_tree.py" "$@" 2>>"$work/reader.log"; }
# What the reader sees once the program has caught up with the keys (a loaded
# machine may take seconds): the lines of `read_tree ARGS` once line LINE is
# WANTED, or as they are after ten seconds.
read_when() {
  local line=$1 wanted=$2 seen
  shift 2
  for _ in $(seq 1 20); do
    seen=$(read_tree "$@")
    [ "$(sed -n "${line}p" <<<"$seen")" = "$wanted" ] && break
    sleep 0.5
  done
  echo "$seen"
}

# xdotool types a character the keyboard lacks by giving it a key for a
# moment; a program busy at that moment reads the key without it. The
# character gets a key of its own for the whole run instead.
map_keysym() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
d = ctypes.c_void_p(x.XOpenDisplay(None))
low, high, per = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
x.XDisplayKeycodes(d, ctypes.byref(low), ctypes.byref(high))
count = high.value - low.value + 1
syms = x.XGetKeyboardMapping(d, low.value, count, ctypes.byref(per))
free = next(k for k in range(count - 1, -1, -1)
            if not any(syms[k * per.value + i] for i in range(per.value)))
x.XChangeKeyboardMapping(d, low.value + free, 1, (ctypes.c_ulong * 1)(int(sys.argv[1], 16)), 1)
x.XCloseDisplay(d)
PY
}

start_maximized
# Marks in 点1 (the fifth column), then F6 seven times: 文字ｻｲｽﾞ, 固定長, the
# title, 最高, 重み, 観点, 評価計算, which Space presses.
sleep 0.5 && xdotool key --delay 100 Tab Tab Tab Tab
for mark in 40 90 75; do xdotool type --delay 30 "$mark"; xdotool key Down; done
for _ in 1 2 3 4 5 6 7; do xdotool key F6; sleep 0.1; done
xdotool key space
check yes "$(read_when 1 yes has 評価選択パネル)" "the evaluation panel is open"
check "" "$(read_tree unnamed)" "unnamed controls with the evaluation panel open"

# Esc gives the keys back to the cell; the arrows move the cursor.
xdotool key Escape Up Up Right Left
table=$(read_when 2 "2|5|90|" table)
check "シート 101 9" "$(head -1 <<<"$table")" "the grid's table: name, rows, columns"
check "2|5|90|" "$(sed -n 2p <<<"$table")" "the focused cell after the arrows"
map_keysym 0x100FF19 && sleep 0.5
xdotool key UFF19 Up Down
# The reader learns of the new text and the move when the program gets to it.
for _ in $(seq 1 20); do
  cell=$(read_tree table | sed -n 2p)
  [ -n "$(cut -d'|' -f4 <<<"$cell")" ] && break
  sleep 0.5
done
reason=$(cut -d'|' -f4 <<<"$cell")
check "a reason" "${reason:+a reason}" "a look-alike mark's description (the cell read: $cell)"
# The viewpoint panel: 知 for 点1 in the score panel's 観点 choice, then
# 評価計算 → 観点別評価.
xdotool mousemove 1572 416 click 1 && sleep 0.5 && xdotool key Down Return
sleep 0.5 && xdotool key alt+h && sleep 0.5 && xdotool key k
check yes "$(read_when 1 yes has 観点別評価パネル)" "the viewpoint panel is open"
check "" "$(read_tree unnamed)" "unnamed controls with the viewpoint panel open"
stop_program
cat "$work/reader.log" >&2
finish_checks
