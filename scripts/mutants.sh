#!/usr/bin/env bash
# Plants the faults of scripts/mutants.txt in the core one at a time, rebuilds
# the core tests, runs them and puts the file back. Prints each mutant's fate
# and the kill rate; fails when a mutant survives that is not marked as
# equivalent, or when a line of the list no longer matches the code.
#
#   scripts/mutants.sh [build dir]     (default: build-mutants, configured if missing)
#
# Its own build is unoptimised and without debug information: a mutant costs
# the compilation of one file and a link, and that is most of the check's time.
set -uo pipefail
cd "$(dirname "$0")/.."
list=scripts/mutants.txt
dir=${1:-build-mutants}
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
# ccache, where there is one, caches compilations that use precompiled headers only so.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime

if [ ! -f "$dir/CMakeCache.txt" ]; then
    launcher=()
    command -v ccache >/dev/null &&
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    # A release build (its preconditions unasserted, as shipped), unoptimised.
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O0" \
        -DPONSAITEN_BENCH=OFF "${launcher[@]}" >/dev/null || exit 1
fi
mapfile -t tests < <(sed -n 's/^ponsaiten_test(\([a-z0-9_]*\) .*/\1/p' tests/core/CMakeLists.txt)
[ "${#tests[@]}" -gt 0 ] || { echo "no core tests found" >&2; exit 1; }

build() { cmake --build "$dir" -j2 --target "$@" >"$dir/mutant-build.log" 2>&1; }

# A test that hangs is killed; the subshell reports that, silently.
run() { (cd "$dir/tests/core" && timeout -k 5 60 "./$1"; exit $?) >/dev/null 2>&1; }

# Tries a mutant: the test named after the mutated file first, then the others. Prints the test that failed, or
# "NO BUILD"; prints nothing when every test passes.
try_mutant() {
    local first=test_$(basename "$1" .cpp) t
    if [[ " ${tests[*]} " == *" $first "* ]]; then
        build "$first" || { echo "NO BUILD"; return; }
        run "$first" || { echo "$first"; return; }
    fi
    # One test linked at a time: most mutants fall to one of the first few.
    for t in "${tests[@]}"; do
        [ "$t" = "$first" ] && continue
        build "$t" || { echo "NO BUILD"; return; }
        run "$t" || { echo "$t"; return; }
    done
}

# Line number of the n-th line of file whose trimmed text is exactly $FROM.
find_line() {
    FROM=$2 awk -v want="$3" '
        { t = $0; sub(/^[ \t]+/, "", t); sub(/[ \t\r]+$/, "", t) }
        t == ENVIRON["FROM"] { if (++n == want) print NR }
        END { if (n < want) exit 1 }' "$1"
}

echo "Building the core tests unchanged..."
build "${tests[@]}" || { echo "the unchanged core tests do not build (see $dir/mutant-build.log)" >&2; exit 1; }
for t in "${tests[@]}"; do
    run "$t" || { echo "the unchanged code fails $t: fix it first" >&2; exit 1; }
done

backup=$(mktemp)
current=""
restore() {
    # A fresh time stamp, so that the next build compiles the file again.
    [ -n "$current" ] && cat "$backup" >"$current"
    current=""
}
trap 'restore; rm -f "$backup"' EXIT
trap 'exit 130' INT TERM

total=0 killed=0 equivalent=0 failures=0 reason=""
start=$(date +%s)
while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in
        '' | '#'*) continue ;;
        'equivalent: '*) reason=${line#equivalent: }; continue ;;
    esac
    place=${line%%: *}
    rest=${line#*: }
    from=${rest%% => *}
    to=${rest#* => }
    file=${place%%#*}
    nth=1
    [ "$place" != "$file" ] && nth=${place#*#}
    total=$((total + 1))
    label="$file:$(printf '%s' "$from" | cut -c1-60)"
    if [ "$rest" = "$from" ] || [ ! -f "$file" ] ||
        ! number=$(find_line "$file" "$from" "$nth") || [ -z "$number" ] ||
        { [ "$place" = "$file" ] && [ "$(find_line "$file" "$from" 2 2>/dev/null)" ]; }; then
        echo "NO MATCH   $label (the line is gone or not unique: update the list)"
        failures=$((failures + 1)); reason=""; continue
    fi
    cp "$file" "$backup"
    current=$file
    TO=$to awk -v n="$number" 'NR == n { match($0, /^[ \t]*/); print substr($0, 1, RLENGTH) ENVIRON["TO"]; next } { print }' \
        "$backup" >"$file"
    by=$(try_mutant "$file")
    if [ "$by" = "NO BUILD" ]; then
        echo "NO BUILD   $label:$number (the mutant does not compile: change it)"
        failures=$((failures + 1))
    elif [ -n "$by" ]; then
        echo "killed     $label:$number  by $by"
        killed=$((killed + 1))
    elif [ -n "$reason" ]; then
        echo "equivalent $label:$number  ($reason)"
        equivalent=$((equivalent + 1))
    else
        echo "SURVIVED   $label:$number  => $to"
        failures=$((failures + 1))
    fi
    restore
    reason=""
done <"$list"

# Leave the build as the code is.
build "${tests[@]}" || echo "rebuilding the unchanged code failed (see $dir/mutant-build.log)" >&2
counted=$((total - equivalent))
echo "killed $killed of $counted mutants ($((counted > 0 ? 100 * killed / counted : 0))%)," \
    "$equivalent equivalent, in $(( $(date +%s) - start )) s"
[ "$failures" -eq 0 ]
