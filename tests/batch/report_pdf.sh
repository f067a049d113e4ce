#!/usr/bin/env bash
# The report as PDF from the command line with no display at all: two classes
# (one not yet graded) and a file that is no sheet, read back with pdftotext.
# Usage: report_pdf.sh PROGRAM
set -euo pipefail
program=$1
command -v pdftotext >/dev/null || { echo "missing: pdftotext (poppler-utils)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/year"

sheet() {  # FILE, then "total grade" pairs
  local file=$1; shift
  {
    printf '評価計算ｼｰﾄ(K_saiten), 100 , 10 ,\r\n25,95,-1 \r\n年,組,NO,氏名,点1,総合点,評価･評定\r\n'
    local n=0
    while [ $# -gt 0 ]; do
      n=$((n + 1)); printf '1,1,%d,生徒,1,%s,%s\r\n' "$n" "$1" "$2"; shift 2
    done
  } | iconv -f UTF-8 -t CP932 > "$file"
}
sheet "$work/year/a.csv" 80 8 70 7 "" "" 50 5
sheet "$work/year/b.csv" 90 ""
printf 'memo\r\n' > "$work/year/memo.txt"

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR "$program" report "$work/year" \
  -o "$work/r.pdf" 2> "$work/err"
# The note on the skipped file and nothing else: no word from Qt about the
# missing runtime folder either.
[ "$(cat "$work/err")" = "ponsaiten report: $work/year/memo.txt: シートのファイルではないので飛ばしました" ] ||
  { echo "FAIL: stderr was:" >&2; cat "$work/err" >&2; exit 1; }
pdftotext -layout "$work/r.pdf" "$work/r.txt"
fail() { echo "FAIL: $*" >&2; cat "$work/r.txt" >&2; exit 1; }
# Whitespace-separated fields of the line that starts with NAME.
fields() { awk -v n="$1" '$1 == n { $1 = $1; print; exit }' "$work/r.txt"; }
[ "$(fields a.csv)" = "a.csv 3 66.67 12.47 70 80 50 0 0 0 1 0 1 1 0 0 6.67" ] || fail "a.csv: $(fields a.csv)"
[ "$(fields b.csv)" = "b.csv 1 90 0 90 90 90 評価未決定" ] || fail "b.csv: $(fields b.csv)"
grep -q '全体 *4 *72.5 ' "$work/r.txt" || fail "all"
[ "$(grep -c '評価未決定' "$work/r.txt")" -ge 2 ] || fail "the undecided chart"
[ "$(pdfinfo "$work/r.pdf" | awk '/^Pages:/ { print $2 }')" = 2 ] || fail "pages"
# Every page's footer: what it is, the day, and page n of N.
today=$(date +%Y年%-m月%-d日)
n=0
while IFS= read -r -d $'\f' page; do
  n=$((n + 1))
  footer=$(grep '印刷' <<< "$page" | tail -1 | tr -s ' ')
  [ "$footer" = "成績一覧表 $today 印刷 $n / 2" ] || fail "footer of page $n: $footer"
done < "$work/r.txt"
[ "$n" = 2 ] || fail "pages read back: $n"
echo ok
