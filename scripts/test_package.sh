#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root and checks the
# installed copy: it starts without a display, evaluates a sheet, finds its
# help, and its desktop entry and metadata pass their validators.
# Expects scripts/setup.sh and scripts/build.sh to have run (scripts/test.sh);
# with --build it sets up and builds just what the package holds, itself.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--build" ]; then
  scripts/setup.sh test
  # The package's own targets only: no tests, no benchmarks.
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON > /dev/null
  cmake --build build -j "$(nproc)" --target ponsaiten help_pages packaging_docs > /dev/null
fi
# CPack's archiver cannot name the sample sheet (見本.csv) in the C locale of a
# bare system.
export LC_ALL=C.UTF-8

(cd build && cpack -G DEB > /dev/null)
deb=$(ls build/ponsaiten_*_*.deb | head -1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
bin="$root/usr/bin/ponsaiten"
fail() { echo "FAIL: $*" >&2; exit 1; }

version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin" --version) || fail "--version exited $?"
[[ $version == "ぽん採点 (ponsaiten) "* ]] || fail "--version printed: $version"

evaluated=$(cd "$root" && env -u DISPLAY "$bin" evaluate "$OLDPWD/tests/data/evaluate_five.csv")
grep -q $'^candidate\t31\t' <<<"$evaluated" || fail "evaluate printed: $evaluated"

# From a folder without help of its own, the installed pages are found.
help_line=$(cd "$root" && env -u DISPLAY "$bin" --help | tail -1)
[ "$help_line" = "ヘルプ: $root/usr/share/ponsaiten/help/help.htm" ] || fail "help: $help_line"
[ -f "$root/usr/share/ponsaiten/help/help.htm" ] || fail "no installed help page"

# Without a display nothing aborts: unknown options are refused (2), the
# window says in Japanese that it needs a desktop (1).
no_display() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin" "$@" 2>&1; }
for args in "2 -x" "2 -V" "2 --lower=30" "1" "1 help" "1 -- -x.csv"; do
  read -r expected rest <<<"$args"
  status=0
  said=$(no_display $rest) || status=$?
  [ "$status" -eq "$expected" ] || fail "ponsaiten $rest without a display exited $status: $said"
  case $expected in
    1) grep -q "デスクトップ" <<<"$said" || fail "ponsaiten $rest said: $said" ;;
    2) grep -q "不明なオプションです" <<<"$said" || fail "ponsaiten $rest said: $said" ;;
  esac
done

# The window program loads from where the package put it and keeps running.
status=0
(cd "$root" && HOME="$root" XDG_CONFIG_HOME="$root/config" XDG_STATE_HOME="$root/state" \
  QT_QPA_PLATFORM=offscreen timeout 5 "$bin" > "$root/window.log" 2>&1) || status=$?
[ "$status" -eq 124 ] || { cat "$root/window.log" >&2; fail "the window program ended with $status"; }

desktop-file-validate "$root/usr/share/applications/jp.ponsaiten.Ponsaiten.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/jp.ponsaiten.Ponsaiten.metainfo.xml" > /dev/null
for size in 16x16 32x32 48x48 64x64 128x128 256x256; do
  [ -f "$root/usr/share/icons/hicolor/$size/apps/jp.ponsaiten.Ponsaiten.png" ] || fail "no $size icon"
done

# Sheet files have a type of their own, known by their first bytes; other CSV
# files stay text/csv, so the program is never offered for them.
# (What the package's trigger does on install, into a scratch database.)
mime_data=$root/mime-data
mkdir -p "$mime_data/mime"
cp -R "$root/usr/share/mime/packages" "$mime_data/mime/"
XDG_DATA_DIRS="$mime_data" update-mime-database "$mime_data/mime" > /dev/null
filetype() { XDG_DATA_HOME="$mime_data" XDG_DATA_DIRS="$mime_data:/usr/share" xdg-mime query filetype "$1"; }
sheet_type=$(filetype tests/data/evaluate_five.csv)
[ "$sheet_type" = application/x-ponsaiten-sheet ] || fail "a sheet file is $sheet_type"
foreign_type=$(filetype tests/data/foreign.csv)
[ "$foreign_type" = text/csv ] || fail "a foreign CSV file is $foreign_type"
grep -qx 'MimeType=application/x-ponsaiten-sheet;' "$root/usr/share/applications/jp.ponsaiten.Ponsaiten.desktop" ||
  fail "the desktop entry claims other types"

# What a Debian package carries besides the program.
# The manual in English in the default section, in Japanese for Japanese
# locales: the same sections and items in both, each shown without a troff
# warning where its locale chooses it. Bare systems lack ja_JP.UTF-8, so it
# is compiled into the scratch root (needs the locales package).
man_items() { zcat "$1" | awk '/^\.S[HS]/ { print $1 } prev == ".TP" { print $2 } { prev = $1 }' | sed 's#/[^/]*$#/#'; }
[ "$(man_items "$root/usr/share/man/man1/ponsaiten.1.gz")" = "$(man_items "$root/usr/share/man/ja/man1/ponsaiten.1.gz")" ] ||
  fail "the English and the Japanese man page list different items"
mkdir "$root/locales"
localedef -i ja_JP -f UTF-8 "$root/locales/ja_JP.UTF-8" || fail "cannot make the ja_JP.UTF-8 locale"
for wanted in "C EXIT STATUS" "ja_JP.UTF-8 終了コード"; do
  read -r locale heading <<<"$wanted"
  man_page=$(LOCPATH="$root/locales" LC_ALL=$locale MANPATH="$root/usr/share/man" MANWIDTH=80 \
    man --warnings ponsaiten 2> "$root/man.log") || fail "man in $locale: $(cat "$root/man.log")"
  [ ! -s "$root/man.log" ] || fail "man in $locale warns: $(head -5 "$root/man.log")"
  grep -q "^$heading" <<<"$man_page" || fail "the man page in $locale has no $heading"
  grep -q "ponsaiten report" <<<"$man_page" || fail "the man page in $locale leaves out report"
done
head -1 "$root/usr/share/doc/ponsaiten/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not machine-readable"
zcat "$root/usr/share/doc/ponsaiten/changelog.gz" | head -1 | grep -q '^ponsaiten (' || fail "no changelog"
sample=$(env -u DISPLAY "$bin" evaluate "$root/usr/share/ponsaiten/sample/見本.csv") || fail "the sample does not evaluate"
grep -q $'^candidate\t31\t' <<<"$sample" || fail "the sample has no totals: $sample"
# Shipped graded, so the report on it has something to show.
sample=$(env -u DISPLAY "$bin" report --tsv "$root/usr/share/ponsaiten/sample/見本.csv") || fail "report on the sample: $sample"
grep -q $'^全体\t10\t.*\t6\t$' <<<"$sample" || fail "the sample is not graded: $sample"
# Lintian: no error; the warnings left are listed in the README.
lintian_report=$(lintian --no-tag-display-limit "$deb" 2>&1 || true)
if grep -q '^E:' <<<"$lintian_report"; then
  echo "$lintian_report" >&2
  fail "lintian reports errors"
fi

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6printsupport6 fonts-noto-cjk; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
echo "package: $(basename "$deb") passed"
