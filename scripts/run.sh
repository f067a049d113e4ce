#!/usr/bin/env bash
# Sets up what building and running need, builds the program (not the tests)
# and starts it; with no display, on a virtual one with a window manager.
set -euo pipefail
cd "$(dirname "$0")/.."
headless=""
[ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && headless=1
scripts/setup.sh build ${headless:+display}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)" --target ponsaiten help_pages > build/run-build.log 2>&1 ||
  { tail -n 40 build/run-build.log >&2; exit 1; }

# Ctrl+C is how a developer ends it here: the program keeps copies of unsaved
# sheets and ends with 130, a normal end. Only the program may hear it: the
# virtual display, were it to end first, would take the program with it, so
# the display lives in a session of its own and the key is handed on.
status=0
if [ -n "$headless" ]; then
  pid_file=$(mktemp)
  # A window manager frames the window and lets it take the screen, as on a desktop.
  setsid xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    echo "No display found: the program runs on the virtual display $DISPLAY."
    echo "To look at it: DISPLAY=$DISPLAY XAUTHORITY=$XAUTHORITY import -window root shot.png"
    echo "To end it: Ctrl+C here."
    openbox >/dev/null 2>&1 &
    echo $$ >"$0"
    exec "$@"' "$pid_file" build/ponsaiten "$@" &
  display_pid=$!
  trap 'kill -INT "$(cat "$pid_file")" 2>/dev/null || true' INT TERM
  # A trapped signal ends a wait early: wait again until the display is gone.
  while kill -0 "$display_pid" 2>/dev/null; do
    wait "$display_pid" && status=0 || status=$?
  done
  rm -f "$pid_file"
else
  build/ponsaiten "$@" || status=$?
fi
[ "$status" -eq 130 ] && status=0
exit "$status"
