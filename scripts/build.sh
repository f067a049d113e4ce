#!/usr/bin/env bash
# Configures and builds into build/ (or build-asan/ with --sanitize).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  opts=(-DCMAKE_BUILD_TYPE=Debug -DPONSAITEN_SANITIZE=ON -DPONSAITEN_BENCH=OFF)
fi
cmake -S . -B "$dir" "${opts[@]}" > /dev/null
cmake --build "$dir" -j "$(nproc)"
