#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root and checks the
# installed copy: it starts without a display, evaluates a sheet, finds its
# help, and its desktop entry and metadata pass their validators.
# Expects scripts/setup.sh and scripts/build.sh to have run (scripts/test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

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

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6printsupport6 fonts-noto-cjk; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
echo "package: $(basename "$deb") passed"
