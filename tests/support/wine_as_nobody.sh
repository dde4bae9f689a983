#!/usr/bin/env bash
# Runs a Windows program under Wine as the unprivileged user "nobody", who meets the file modes
# that root writes through. Wine serves only a prefix that its user owns, so nobody has a prefix
# of its own, made on first use (and by the first call, with no program, before any test needs it),
# in a folder that nobody can reach.
# Only root can become nobody: anyone else exits with 77 (skipped), and meets the file modes in
# the test program's own run anyway.
#
#   wine_as_nobody.sh PREFIX WINE [PROGRAM ARGS...]
set -euo pipefail
prefix=$1
wine=$2
shift 2
[ "$(id -u)" -eq 0 ] || { echo "not root: the file modes are met in the test program's own run"; exit 77; }

as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups
  env HOME="$prefix" WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
if [ ! -d "$prefix/drive_c" ]; then
  mkdir -p "$prefix"
  chown nobody:nogroup "$prefix"
  "${as_nobody[@]}" "$wine" wineboot --init
fi
[ $# -gt 0 ] || exit 0
# The build may lie in a folder that only root can enter: nobody runs a copy of the program.
program=$1
shift
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp "$program" "$copy/"
chmod 755 "$copy" "$copy/$(basename "$program")"
"${as_nobody[@]}" "$wine" "$copy/$(basename "$program")" "$@"
