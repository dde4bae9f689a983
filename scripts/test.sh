#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test, then
# builds and runs everything again with AddressSanitizer and UndefinedBehaviorSanitizer, then
# builds everything with clang and libFuzzer, replays the fuzz corpus and fuzzes each harness
# for half a minute, then cross-builds the Windows core, its tests and the benchmark with
# MinGW-w64 and runs the tests under Wine, then builds the browser page and the core's tests with
# Emscripten and runs the tests under Node and the page in Chromium and WebKitGTK. Each build is a
# preset of CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

# One leg or a few: scripts/test.sh web
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(test asan libfuzzer windows web)
for preset in "${presets[@]}"; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
  if [ "$preset" = libfuzzer ]; then
    # Real fuzzing, briefly, so that the fuzzing command keeps working; finds stay in the build.
    for harness in roster_loader whole_run; do
      scripts/fuzz.sh --no-merge "$harness" 30
    done
  fi
done
