# The frame of every end-to-end script, sourced after `set -euo pipefail`:
# the script runs again inside a virtual X server of its own (with a time
# limit, e2e_limit seconds), then gets a scratch home, `work`, as its folder
# and openbox as window manager. Paths among the script's arguments must
# already be absolute.
for tool in xvfb-run openbox xdotool iconv; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (run scripts/setup.sh)" >&2; exit 1; }
done

if [ -z "${PONSAITEN_E2E_INNER:-}" ]; then
  export PONSAITEN_E2E_INNER=1
  exec timeout "${e2e_limit:-300}" xvfb-run -a -s "-screen 0 1600x1000x24" bash "$0" "$@"
fi

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
