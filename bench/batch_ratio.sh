#!/usr/bin/env bash
# The batch command on the largest sheet (450 rows, 443 score columns) as a
# whole process, against only decoding the same file with iconv: evaluating,
# and evaluating, grading with candidate 15 and saving (-o). All three run
# alternately in one run, and the ratios of their medians are printed.
# Usage: bench/batch_ratio.sh [PROGRAM] [ROUNDS]
set -euo pipefail
# Times come from bash's own clock (EPOCHREALTIME, microseconds): measuring
# starts no process of its own.
program=$(realpath "${1:-build/ponsaiten}")
rounds=${2:-40}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sheet="$work/largest.csv"

{
  printf '評価計算ｼｰﾄ(K_saiten),'
  for _ in $(seq 1 443); do printf ' 0 , 10 ,'; done
  printf '\r\n25,95,-1 \r\n,,,氏名'
  for k in $(seq 1 443); do printf ',点%d' "$k"; done
  printf ',総合点,評価･評定\r\n'
  awk 'BEGIN {
    for (r = 1; r < 450; ++r) {
      line = ",,,生徒" r
      for (k = 1; k <= 443; ++k) line = line "," (r * 37 + k * 11) % 101
      printf "%s,,\r\n", line
    }
  }'
} | iconv -f UTF-8 -t CP932 > "$sheet"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The saved file goes beside the sheet, on a real disk as a teacher's would:
# its time includes making it durable.
: > "$work/iconv" ; : > "$work/evaluate" ; : > "$work/save"
for _ in $(seq 1 "$rounds"); do
  t0=${EPOCHREALTIME/./}; iconv -f CP932 -t UTF-8 "$sheet" > /dev/null; t1=${EPOCHREALTIME/./}
  DISPLAY= "$program" evaluate "$sheet" > /dev/null; t2=${EPOCHREALTIME/./}
  DISPLAY= "$program" evaluate "$sheet" --candidate 15 -o "$work/graded.csv" > /dev/null
  t3=${EPOCHREALTIME/./}
  echo $((t1 - t0)) >> "$work/iconv"
  echo $((t2 - t1)) >> "$work/evaluate"
  echo $((t3 - t2)) >> "$work/save"
done
a=$(median < "$work/iconv")
b=$(median < "$work/evaluate")
c=$(median < "$work/save")
awk -v a="$a" -v b="$b" -v c="$c" -v n="$rounds" 'BEGIN {
  printf "largest sheet, %d rounds, medians: iconv %.1f ms\n", n, a / 1e3
  printf "  ponsaiten evaluate %.1f ms, ratio %.1f\n", b / 1e3, b / a
  printf "  ponsaiten evaluate --candidate 15 -o %.1f ms, ratio %.1f\n", c / 1e3, c / a
}'
