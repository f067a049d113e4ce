# Helpers for scripts that drive one running program, sourced after
# harness.sh: start it, save a sheet through the File menu, read a cell of a
# saved file, wait for windows and questions.

# Starts PROGRAM (global $program) with the given arguments and waits for the
# frame; $frame is its window, $program_pid its process.
start_program() {
  "$program" "$@" >>"$work/program.log" 2>&1 &
  program_pid=$!
  frame=$(find_window "枚のｼｰﾄがあります")
  xdotool windowactivate --sync "$frame"
  sleep 1
}

# Screen points of a maximized sheet in the 1600x1000 screen of the harness.
maximize_button=(1404 111)
new_sheet_button=(35 62)
title_of_col=(0 53 77 105 187 268 303 348 417)
title_row_y=114
grid_middle=(800 500)

# Starts the program with its first sheet maximized.
start_maximized() {
  start_program "$@"
  xdotool mousemove "${maximize_button[@]}" click 1
  sleep 0.5
}

stop_program() {
  kill -9 "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
  sleep 0.3
}

frame_title() { xdotool getwindowname "$frame" 2>/dev/null || true; }

# The number of sheets the frame's title counts.
sheet_count() { frame_title | grep -o '^ *[0-9]*' | tr -d ' '; }

active_name() { xdotool getactivewindow getwindowname 2>/dev/null || true; }

# Waits up to 10 s until the active window's name matches PATTERN.
wait_active() {
  for _ in $(seq 1 50); do
    active_name | grep -q -- "$1" && return 0
    sleep 0.2
  done
  return 1
}

# A window named exactly NAME (a message box's title) appears within SECONDS.
box_appears() {
  local name=$1 seconds=${2:-2}
  for _ in $(seq 1 $((seconds * 5))); do
    xdotool search --name "^$name\$" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

# ﾌｧｲﾙ(&F) → シート保存(&W) into PATH, which must not exist yet; waits for
# the file and for the keys to be back in the frame.
save_as() {
  local path=$1
  xdotool key alt+f
  sleep 0.3
  xdotool key w
  wait_active "保存" || wait_active "Save" || sleep 1
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay 5 "$path"
  xdotool key Return
  for _ in $(seq 1 50); do
    [ -s "$path" ] && break
    sleep 0.2
  done
  if [ ! -s "$path" ]; then
    echo "FAIL: nothing saved to $path" >&2
    # For a look at what the screen showed: E2E_SHOTS names a folder.
    [ -n "${E2E_SHOTS:-}" ] && import -window root "$E2E_SHOTS/not-saved.png"
    return 1
  fi
  wait_active "枚のｼｰﾄがあります" || true
  sleep 0.3
}

# The text of ROW, COL in the saved sheet FILE (row 0: the titles).
saved_cell() {
  iconv -f CP932 -t UTF-8 "$1" | tr -d '\r' | sed -n "$(($2 + 3))p" | cut -d, -f"$3"
}

# Reports one check: expected, got, what.
checks_failed=0
checks_passed=0
check() {
  if [ "$1" == "$2" ]; then
    checks_passed=$((checks_passed + 1))
  else
    checks_failed=$((checks_failed + 1))
    echo "FAIL: $3: expected '$1', got '$2'" >&2
  fi
}

finish_checks() {
  echo "e2e: $checks_passed passed, $checks_failed failed"
  if [ "$checks_failed" -ne 0 ]; then
    cat "$work/program.log" >&2 || true
    exit 1
  fi
  exit 0
}

# Reports whether two sheet files hold the same bytes (the difference as text if not).
check_same_file() {
  if cmp -s "$1" "$2"; then
    check same same "$3"
  else
    check "the bytes of $1" "other bytes" "$3"
    diff <(iconv -f CP932 -t UTF-8 "$1") <(iconv -f CP932 -t UTF-8 "$2") >&2 || true
  fi
}
