#!/usr/bin/env bash
# End to end: the program started with two sheet files on its command line
# opens both, each in a sheet window of its own (the frame counts two).
# Usage: open_two_files.sh PROGRAM DATA_FOLDER
set -euo pipefail

program=$(realpath "$1")
data=$(realpath "$2")
for tool in xvfb-run openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (run scripts/setup.sh)" >&2; exit 1; }
done

if [ -z "${PONSAITEN_E2E_INNER:-}" ]; then
  export PONSAITEN_E2E_INNER=1
  exec timeout 120 xvfb-run -a -s "-screen 0 1600x1000x24" bash "$0" "$program" "$data"
fi

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
unset QT_QPA_PLATFORM
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

openbox >/dev/null 2>&1 &
sleep 1
"$program" "$data/evaluate_five.csv" "$data/evaluate_no_totals.csv" >"$work/program.log" 2>&1 &
if ! timeout 30 xdotool search --sync --name " 2枚のｼｰﾄがあります" >/dev/null; then
  echo "FAIL: the frame does not count two sheets" >&2
  xdotool search --name "ｼｰﾄがあります" getwindowname >&2 || true
  cat "$work/program.log" >&2
  exit 1
fi
echo "e2e: 1 passed, 0 failed"
