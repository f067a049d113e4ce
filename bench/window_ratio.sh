#!/usr/bin/env bash
# The table of ratios of bench_window: each action through a sheet window
# against its yardstick, medians of ROUNDS repetitions run interleaved, on a
# class sheet (41 × 20) and square sheets of 50 and 450, and how each ratio
# grows from 50 to 450; and start to first paint against a bare Qt main window
# with the same menus, toolbar and one child window.
# Usage: bench/window_ratio.sh [BENCH] [ROUNDS] [FILTER]
set -euo pipefail
bench=$(realpath "${1:-build/bench/bench_window}")
rounds=${2:-5}
filter=${3:-.}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
LC_ALL=C.UTF-8 QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench" \
  --benchmark_filter="$filter" --benchmark_repetitions="$rounds" \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
  --benchmark_out="$out" --benchmark_out_format=json >/dev/null 2>&1
python3 - "$out" <<'PY'
import json, re, sys
medians = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") != "median":
        continue
    m = re.match(r"BM_(\w+?)(Window|Core|Table|Bare)/(\d+)", b["name"])
    medians[(m[1], m[2], int(m[3]))] = b["real_time"]  # milliseconds
yard = {"Core": "core", "Table": "QTableWidget", "Bare": "bare Qt"}
print(f"{'action':<14}{'size':>6}{'window ms':>11}{'yardstick ms':>14}  {'':<13}{'ratio':>7}")
growth = []
for action in dict.fromkeys(k[0] for k in medians):
    ratios = {}
    for size, label in ((0, "start"), (40, "41×20"), (50, "50"), (450, "450")):
        w = medians.get((action, "Window", size))
        kind = next((k for k in yard if (action, k, size) in medians), None)
        if w is None or kind is None:
            continue
        y = medians[(action, kind, size)]
        ratios[size] = w / y
        print(f"{action:<14}{label:>6}{w:>11.3f}{y:>14.3f}  {yard[kind]:<13}{w / y:>6.1f}×")
    if 50 in ratios and 450 in ratios:
        growth.append((action, ratios[450] / ratios[50]))
print()
for action, g in growth:
    print(f"{action:<14} ratio at 450 / ratio at 50: {g:.2f}")
PY
