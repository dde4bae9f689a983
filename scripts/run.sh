#!/usr/bin/env bash
# Installs what building and running need when it is missing, builds the program and starts it
# in examples/ on the sample roster; the files of a run are written next to the roster.
#
# As an ordinary user it installs missing packages through sudo apt-get and builds and starts
# the program as that user. Started through sudo, it installs as root and then builds and starts
# the program as the user who called sudo, so that build/ and the window are that user's.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run

if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
  echo "Building and starting the program as $SUDO_USER"
  exec sudo -u "$SUDO_USER" --preserve-env=DISPLAY,WAYLAND_DISPLAY,XAUTHORITY,XDG_RUNTIME_DIR \
    "$0" "$@"
fi

cmake --preset release
cmake --build --preset release --target pelmora-simulator
cd examples
exec ../build/release/app/qt/pelmora-simulator
