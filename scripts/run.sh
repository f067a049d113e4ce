#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under xvfb-run."
  exec xvfb-run -a -s "-screen 0 1600x1000x24" build/ponsaiten "$@"
fi
exec build/ponsaiten "$@"
