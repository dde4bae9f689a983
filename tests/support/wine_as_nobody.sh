#!/usr/bin/env bash
# Runs a Windows program under Wine as the unprivileged user "nobody", who meets the file modes
# that root writes through. Wine serves only a prefix that its user owns, so nobody has a prefix
# of its own, made on first use (and by the first call, with no program, before any test needs it),
# in a folder that nobody can reach. The program starts through wine_run.sh, as every test
# program does.
# Only root can become nobody: anyone else exits with 77 (skipped), and meets the file modes in
# the test program's own run anyway.
#
#   wine_as_nobody.sh PREFIX WINE [PROGRAM ARGS...]
set -euo pipefail
prefix=$1
wine=$2
shift 2
[ "$(id -u)" -eq 0 ] || { echo "not root: the file modes are met in the test program's own run"; exit 77; }

# The build and the sources may lie in a folder that only root can enter: nobody runs copies of
# the program and of the helper.
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp "$(dirname "$0")/wine_run.sh" "$copy/"
chmod 755 "$copy"
as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups
  env HOME="$prefix" WINEPREFIX="$prefix" PELMORA_WINE="$wine" bash "$copy/wine_run.sh")
if [ $# -eq 0 ]; then
  mkdir -p "$prefix"
  chown nobody:nogroup "$prefix"
  exec "${as_nobody[@]}" --make-prefix
fi
program=$1
shift
cp "$program" "$copy/"
chmod 755 "$copy/$(basename "$program")"
"${as_nobody[@]}" "$copy/$(basename "$program")" "$@"
