#!/usr/bin/env bash
# Configures and builds into build/ (or build-asan/ with --sanitize).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  # Line tables are all a sanitizer's report needs, and they link fast.
  opts=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DPONSAITEN_SANITIZE=ON -DPONSAITEN_BENCH=OFF)
fi
cmake -S . -B "$dir" "${opts[@]}" > /dev/null
cmake --build "$dir" -j "$(nproc)"
