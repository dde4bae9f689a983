#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing for one purpose:
#
#   scripts/install-deps.sh run    building and running the program
#   scripts/install-deps.sh test   building and running every test, and the package
#
# For the tests it also installs the npm packages that drive the browsers, pinned in
# package-lock.json, with npm ci; no browser is downloaded: Debian's Chromium and WebKitGTK are used.
#
# As root it calls apt-get itself; as anyone else it says what it installs and calls it through
# sudo. Does nothing when everything is already there.
set -euo pipefail

run_packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-private-dev qt6-wayland libqt6svg6 libxcb1-dev libwayland-dev wayland-protocols
  fonts-ipafont-gothic xdg-user-dirs
)
test_packages=(
  "${run_packages[@]}"
  libgtest-dev
  xvfb xauth xdotool x11-utils x11-xserver-utils weston
  clang libclang-rt-14-dev
  dpkg-dev file lintian desktop-file-utils appstream
  g++-mingw-w64-x86-64-posix googletest wine wine64 imagemagick nsis librsvg2-bin icoutils unzip
  emscripten nodejs chromium webkit2gtk-driver
)
# Debian's npm, unless the machine's Node.js brings its own.
command -v npm >/dev/null || test_packages+=(npm)

case ${1:-} in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$package")
  fi
done
install_npm_packages() {
  [ "$1" = test ] || return 0
  (cd "$(dirname "$0")/.." && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
}

if [ ${#missing[@]} -eq 0 ]; then
  install_npm_packages "$1"
  exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Missing packages: ${missing[*]}; install them as root." >&2; exit 1; }
  echo "Installing the missing Debian packages through sudo apt-get: ${missing[*]}"
  sudo=(sudo)
else
  echo "Installing: ${missing[*]}"
fi
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
install_npm_packages "$1"
