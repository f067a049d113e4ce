#!/usr/bin/env bash
# The batch command on the largest sheet (450 rows, 443 score columns) as a
# whole process, against only decoding the same file with iconv; both run
# alternately in one run, and the ratio of their medians is printed.
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
: > "$work/iconv" ; : > "$work/evaluate"
for _ in $(seq 1 "$rounds"); do
  t0=${EPOCHREALTIME/./}; iconv -f CP932 -t UTF-8 "$sheet" > /dev/null; t1=${EPOCHREALTIME/./}
  DISPLAY= "$program" evaluate "$sheet" > /dev/null; t2=${EPOCHREALTIME/./}
  echo $((t1 - t0)) >> "$work/iconv"
  echo $((t2 - t1)) >> "$work/evaluate"
done
a=$(median < "$work/iconv")
b=$(median < "$work/evaluate")
awk -v a="$a" -v b="$b" -v n="$rounds" 'BEGIN {
  printf "largest sheet, %d rounds, medians: iconv %.1f ms, ponsaiten evaluate %.1f ms, ratio %.1f\n",
         n, a / 1e3, b / 1e3, b / a
}'
