#!/usr/bin/env bash
# Sets up, builds and runs every test (with --sanitize: under ASan and UBSan).
set -euo pipefail
cd "$(dirname "$0")/.."
# The end-to-end tests find windows by their Japanese titles: a bare root has
# no locale at all, and in the C locale those searches find nothing.
export LC_ALL=C.UTF-8
scripts/setup.sh
scripts/build.sh "$@"
dir=build
[ "${1:-}" = "--sanitize" ] && dir=build-asan
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
# The installed package, from the normal build.
[ "${1:-}" = "--sanitize" ] || ../scripts/test_package.sh
