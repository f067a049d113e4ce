#!/usr/bin/env bash
# Sets up, builds the program (not the tests) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)" --target ponsaiten help_pages
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # A window manager frames the window and lets it take the screen, as on a desktop.
  exec xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    echo "No display found: the program runs on the virtual display $DISPLAY."
    echo "To look at it: DISPLAY=$DISPLAY XAUTHORITY=$XAUTHORITY import -window root shot.png"
    echo "To end it: Ctrl+C here."
    openbox >/dev/null 2>&1 &
    exec "$@"' run build/ponsaiten "$@"
fi
exec build/ponsaiten "$@"
