#!/usr/bin/env bash
# The report as PDF from the command line with no display at all: two classes
# (one not yet graded), a file that is no sheet, one over the row limit, and
# forty classes, read back with pdftotext; a FIFO is refused at once.
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
# Digits after Latin letters and an ideographic space, as printed.
sheet "$work/year/r01_plain.csv" 80 8 70 7 "" "" 50 5
sheet "$work/year/石川　b.csv" 90 ""
printf 'memo\r\n' > "$work/year/memo.txt"
sheet "$work/long.csv" $(yes '50 5' | head -10001)

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR "$program" report "$work/year" \
  "$work/long.csv" -o "$work/r.pdf" 2> "$work/err" || [ $? = 4 ]
grep -q 'memo.txt: シートのファイルではないので飛ばしました' "$work/err"
# No word from Qt about a missing runtime folder.
! grep -q XDG_RUNTIME_DIR "$work/err" || { echo "FAIL: stderr was:" >&2; cat "$work/err" >&2; exit 1; }
pdftotext -layout "$work/r.pdf" "$work/r.txt"
fail() { echo "FAIL: $*" >&2; cat "$work/r.txt" >&2; exit 1; }
# pdftotext gives every space as ASCII; pdftohtml keeps U+3000. The reason in full, wrapped.
[ "$(pdftohtml -xml -i -stdout "$work/r.pdf" | grep -c '>石川　b.csv<')" = 2 ] || fail "the ideographic space"
[ "$(tr -d ' \n' < "$work/r.txt" | grep -c '数に入れていません:10000行を超えるシートは10000行目までしか読み込めません。')" = 1 ] || fail "reason"
# Whitespace-separated fields of the line that starts with NAME.
fields() { awk -v n="$1" '$1 == n { $1 = $1; print; exit }' "$work/r.txt"; }
[ "$(fields r01_plain.csv)" = "r01_plain.csv 3 66.67 12.47 70 80 50 0 0 0 0 1 0 1 1 0 0 6.67" ] ||
  fail "r01_plain.csv: $(fields r01_plain.csv)"
[ "$(fields 石川)" = "石川 b.csv 1 90 0 90 90 90 評価未決定" ] || fail "石川　b.csv: $(fields 石川)"
grep -q '全体 *4 *72.5 ' "$work/r.txt" || fail "all"
[ "$(grep -c '評価未決定' "$work/r.txt")" -ge 2 ] || fail "the undecided chart"
[ "$(pdfinfo "$work/r.pdf" | awk '/^Pages:/ { print $2 }')" = 2 ] || fail "pages"
# Forty classes: every page's footer says what it is, the day, and page n of N.
mkdir "$work/many" && for i in $(seq -w 40); do cp "$work/year/r01_plain.csv" "$work/many/$i.csv"; done
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" report "$work/many" -o "$work/many.pdf"
pdftotext -layout "$work/many.pdf" "$work/r.txt"
total=$(pdfinfo "$work/many.pdf" | awk '/^Pages:/ { print $2 }')
today=$(date +%Y年%-m月%-d日)
n=0
while IFS= read -r -d $'\f' page; do
  n=$((n + 1))
  footer=$(grep '印刷' <<< "$page" | tail -1 | tr -s ' ')
  [ "$footer" = "成績一覧表 $today 印刷 $n / $total" ] || fail "footer of page $n: $footer"
done < "$work/r.txt"
[ "$n" = "$total" ] || fail "pages read back: $n"
# A FIFO would wait for a writer for ever.
mkfifo "$work/fifo.csv"
said=$(timeout 20 "$program" report "$work/fifo.csv" 2>&1 > /dev/null; echo "exit $?")
[ "$said" = "ponsaiten report: $work/fifo.csv: 読み込めません: ファイルを開けません: 通常のファイルではありません（名前付きパイプやデバイスなど）
exit 4" ] || fail "FIFO: $said"
echo ok
