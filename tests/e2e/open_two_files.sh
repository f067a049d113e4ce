#!/usr/bin/env bash
# End to end: the program started with two sheet files on its command line
# opens both, each in a sheet window of its own (the frame counts two).
# Usage: open_two_files.sh PROGRAM DATA_FOLDER
set -euo pipefail

program=$(realpath "$1")
data=$(realpath "$2")
e2e_limit=120
set -- "$program" "$data"
source "$(dirname "$0")/harness.sh"
"$program" "$data/evaluate_five.csv" "$data/evaluate_no_totals.csv" >"$work/program.log" 2>&1 &
if ! find_window " 2枚のｼｰﾄがあります" >/dev/null; then
  echo "FAIL: the frame does not count two sheets" >&2
  xdotool search --name "ｼｰﾄがあります" getwindowname >&2 || true
  cat "$work/program.log" >&2
  exit 1
fi
echo "e2e: 1 passed, 0 failed"
