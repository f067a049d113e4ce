#!/usr/bin/env bash
# Sets up, builds and runs every test, then checks the package.
#   scripts/test.sh              the normal build (build/)
#   scripts/test.sh --sanitize   the same tests under ASan and UBSan (build-asan/), no package
#   --no-e2e                     leaves out the end-to-end tests
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize="" exclude=()
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=--sanitize ;;
    --no-e2e) exclude=(-LE e2e) ;;
    *) echo "usage: scripts/test.sh [--sanitize] [--no-e2e]" >&2; exit 2 ;;
  esac
done
scripts/setup.sh test
scripts/build.sh $sanitize
dir=build
[ -n "$sanitize" ] && dir=build-asan
cd "$dir"
ctest --output-on-failure -j "$(nproc)" "${exclude[@]}"
[ -n "$sanitize" ] || ../scripts/test_package.sh
