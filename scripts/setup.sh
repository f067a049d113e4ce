#!/usr/bin/env bash
# Installs the Debian packages a task needs, only those that are missing.
#   scripts/setup.sh build     to build the program and its help
#   scripts/setup.sh display   a virtual display with a window manager
#   scripts/setup.sh test      everything the tests, the fuzzing and the package check use
# Several groups may be named at once; apt's own output goes to a log file
# and only a line per step is printed.
set -euo pipefail

build=(g++ cmake make pkg-config qt6-base-dev qt6-translations-l10n libgl-dev fonts-noto-cjk)
display=(xvfb xauth openbox)
test=(
  xdotool xclip poppler-utils cups-daemon cups-client printer-driver-cups-pdf
  libbenchmark-dev
  dpkg-dev file desktop-file-utils appstream lintian man-db locales
  shared-mime-info xdg-utils libfile-mimeinfo-perl
  clang libclang-rt-14-dev
  at-spi2-core python3-pyatspi
)

[ $# -gt 0 ] || set -- build display test
packages=()
for group in "$@"; do
  case "$group" in
    build) packages+=("${build[@]}") ;;
    display) packages+=("${display[@]}") ;;
    test) packages+=("${build[@]}" "${display[@]}" "${test[@]}") ;;
    *) echo "setup.sh: unknown group '$group' (build, display, test)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    [[ " ${missing[*]} " == *" $p "* ]] || missing+=("$p")
  fi
done
[ ${#missing[@]} -gt 0 ] || exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this script as root, or install sudo, to install them." >&2
    exit 1
  fi
  sudo="sudo"
fi

log=$(mktemp /tmp/ponsaiten-setup.XXXXXX.log)
# Another apt (an update running in the background) holds its lock for a
# while: wait for it rather than fail.
apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600)
started=$SECONDS
echo "setup: installing ${#missing[@]} packages (${missing[*]})"
for try in 1 2 3 4 5 6 7 8 9 10; do
  "${apt[@]}" update >>"$log" 2>&1 && break
  # The package lists' lock has no time-out of its own.
  grep -q 'Could not get lock' "$log" && [ "$try" -lt 10 ] || { tail -n 20 "$log" >&2; exit 1; }
  sleep 30
done
if ! "${apt[@]}" install -y --no-install-recommends "${missing[@]}" >>"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "setup: apt-get install failed (whole log: $log)" >&2
  exit 1
fi
echo "setup: done in $((SECONDS - started)) s (apt's log: $log)"
