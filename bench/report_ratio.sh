#!/usr/bin/env bash
# The grade-meeting report over 1,000 class sheets (40 students, 4 tests each)
# in one process, against only decoding all of the same bytes with one iconv;
# both run alternately in one run, and the ratio of their medians is printed.
# Usage: bench/report_ratio.sh [PROGRAM] [ROUNDS]
set -euo pipefail
program=$(realpath "${1:-build/ponsaiten}")
rounds=${2:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/year"

# One sheet's text, then 1,000 copies differing in their marks.
awk -v dir="$work/year" 'BEGIN {
  for (s = 1; s <= 1000; ++s) {
    f = sprintf("%s/%04d.csv", dir, s)
    printf "評価計算ｼｰﾄ(K_saiten), 100 , 10 , 100 , 10 , 100 , 10 , 100 , 10 ,\r\n25,95, 15 \r\n" > f
    printf "年,組,NO,氏名,点1,点2,点3,点4,総合点,評価･評定\r\n" > f
    for (r = 1; r <= 40; ++r) {
      t = 0; line = ""
      for (k = 1; k <= 4; ++k) { m = (s * 7 + r * 37 + k * 11) % 101; t += m; line = line "," m }
      printf "2,%d,%d,生徒%d%s,%d,%d\r\n", s % 10 + 1, r, r, line, int(t / 4 + 0.5), 2 + (t % 9) > f
    }
    close(f)
  }
}'
for f in "$work"/year/*.csv; do iconv -f UTF-8 -t CP932 "$f" > "$f.tmp" && mv "$f.tmp" "$f"; done
bytes=$(cat "$work"/year/*.csv | wc -c)

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
: > "$work/iconv" ; : > "$work/report"
for _ in $(seq 1 "$rounds"); do
  t0=${EPOCHREALTIME/./}; cat "$work"/year/*.csv | iconv -f CP932 -t UTF-8 > /dev/null; t1=${EPOCHREALTIME/./}
  DISPLAY= "$program" report "$work/year" --tsv > /dev/null; t2=${EPOCHREALTIME/./}
  echo $((t1 - t0)) >> "$work/iconv"
  echo $((t2 - t1)) >> "$work/report"
done
a=$(median < "$work/iconv")
b=$(median < "$work/report")
awk -v a="$a" -v b="$b" -v n="$rounds" -v bytes="$bytes" 'BEGIN {
  printf "1000 sheets (%d bytes), %d rounds, medians: cat|iconv %.1f ms, ponsaiten report %.1f ms, ratio %.1f\n",
         bytes, n, a / 1e3, b / 1e3, b / a
}'
