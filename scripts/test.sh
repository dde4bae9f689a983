#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test, then
# builds and runs everything again with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

build=${PELMORA_BUILD_DIR:-build/test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_WERROR=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2

asan=${PELMORA_ASAN_BUILD_DIR:-build/asan}
cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_SANITIZE=ON -DPELMORA_WERROR=ON
cmake --build "$asan"
ctest --test-dir "$asan" --output-on-failure -j2
