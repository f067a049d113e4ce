#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz/ and runs each for SECONDS
# (default 60) on a scratch copy of its corpus, after replaying the inputs in
# fuzz/regressions/ that once broke it. Any crash, leak, timeout or sanitizer
# report fails the run; the input is left in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
case "$seconds" in
  '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS_PER_TARGET]" >&2; exit 2 ;;
esac

scripts/setup.sh
# Debug keeps Qt's own bounds checks (Q_ASSERT) in the inlined containers;
# -O1 keeps the runs fast enough.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPONSAITEN_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" > /dev/null
cmake --build build-fuzz -j "$(nproc)"

root=$PWD
artifacts=$root/build-fuzz/artifacts
mkdir -p "$artifacts"
# libFuzzer adds what it finds to the corpus it is given: the repository's
# own stays as it is.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failed=()
for target in split_line read_sheet paste leading_number; do
  fuzzer=$root/build-fuzz/fuzz/fuzz_$target
  log=$artifacts/$target.log
  regressions=(fuzz/regressions/"$target"/*)
  if [ -e "${regressions[0]}" ] &&
    ! "$fuzzer" -artifact_prefix="$artifacts/$target-" "${regressions[@]}" > "$log" 2>&1; then
    echo "== $target: an input in fuzz/regressions/$target/ still fails"
    tail -n 40 "$log"
    failed+=("$target")
    continue
  fi

  mkdir "$scratch/$target"
  cp -R "fuzz/corpus/$target/." "$scratch/$target/"
  status=0
  "$fuzzer" "$scratch/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$artifacts/$target-" -print_final_stats=1 > "$log" 2>&1 || status=$?

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<< "$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<< "$last")
  printf '== %-15s %12s executions  cov %6s  ft %7s\n' "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}"
  if [ "$status" -ne 0 ]; then
    echo "== $target failed (exit $status); the input is in $artifacts/"
    tail -n 60 "$log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]} (logs in $artifacts/)" >&2
  exit 1
fi
echo "Fuzzing: no problem found in $seconds s per target."
