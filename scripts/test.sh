#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test, then
# builds and runs everything again with AddressSanitizer and UndefinedBehaviorSanitizer, then
# cross-builds the Windows core, its tests and the benchmark with MinGW-w64 and runs the tests
# under Wine. Each build is a preset of CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

for preset in test asan windows; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
