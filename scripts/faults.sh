#!/usr/bin/env bash
# The two checks that look for faults the tests may miss, side by side: each
# keeps one core busy. The mutant check (scripts/mutants.sh) and SECONDS of
# fuzzing per target (scripts/fuzz.sh, default 60); the output of each in turn.
#   scripts/faults.sh [SECONDS]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup.sh test || exit 1
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
scripts/fuzz.sh "$seconds" >"$logs/fuzz" 2>&1 &
fuzz=$!
scripts/mutants.sh >"$logs/mutants" 2>&1
mutants_status=$?
wait "$fuzz"
fuzz_status=$?
cat "$logs/mutants" "$logs/fuzz"
[ "$mutants_status" -eq 0 ] && [ "$fuzz_status" -eq 0 ]
