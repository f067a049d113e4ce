# The frame of every end-to-end script, sourced after `set -euo pipefail` as
#   source "$(dirname "$0")/harness.sh"
# The script's first argument is the program ($program); the others that
# name existing files or folders are made absolute. The script runs again
# inside a virtual X server of its own (with a time limit, e2e_limit
# seconds), then gets a scratch home, `work`, as its folder, openbox as window
# manager and the helpers of sheet_helpers.sh.
for tool in xvfb-run openbox xdotool iconv; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (run scripts/setup.sh test)" >&2; exit 1; }
done
e2e_dir=$(dirname "$(realpath "${BASH_SOURCE[0]}")")

if [ -z "${PONSAITEN_E2E_INNER:-}" ]; then
  export PONSAITEN_E2E_INNER=1
  # xdotool finds windows by their Japanese titles: not in the C locale.
  export LC_ALL=C.UTF-8
  args=()
  for arg in "$@"; do
    if [ -e "$arg" ]; then args+=("$(realpath "$arg")"); else args+=("$arg"); fi
  done
  exec timeout "${e2e_limit:-300}" xvfb-run -a -s "-screen 0 1600x1000x24" \
    bash "$(realpath "$0")" "${args[@]}"
fi
program=$1

work=$(mktemp -d)
trap 'kill -9 $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
unset QT_QPA_PLATFORM
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

openbox >/dev/null 2>&1 &
sleep 1

# The first window whose name matches PATTERN, waiting up to 30 s. xdotool
# dies with BadWindow when a window vanishes while it reads the window list
# (the program's start opens and closes short-lived ones), so each search is
# its own attempt and a failed one is simply tried again.
find_window() {
  local found=""
  for _ in $(seq 1 150); do
    found=$(xdotool search --name "$1" 2>/dev/null | head -1) || true
    [ -n "$found" ] && { echo "$found"; return 0; }
    sleep 0.2
  done
  return 1
}

source "$e2e_dir/sheet_helpers.sh"
