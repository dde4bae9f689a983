#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in examples/ on the sample roster.
# The files of a run are written next to the roster, in examples/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run

build=${PELMORA_BUILD_DIR:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMORA_BUILD_TESTS=OFF
cmake --build "$build" --target pelmora-simulator
cd examples
exec "../$build/app/pelmora-simulator"
