#!/usr/bin/env bash
# Runs a Windows program under Wine as the unprivileged user "nobody", who meets the file modes
# that root writes through. Wine serves only a prefix that its user owns, so nobody has a prefix
# of its own, made on first use (and by the first call, with no program, before any test needs it).
#
#   wine_as_nobody.sh PREFIX WINE [PROGRAM ARGS...]
set -euo pipefail
prefix=$1
wine=$2
shift 2

as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups
  env HOME="$prefix" WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
if [ ! -d "$prefix/drive_c" ]; then
  mkdir -p "$prefix"
  chown nobody:nogroup "$prefix"
  "${as_nobody[@]}" "$wine" wineboot --init
fi
[ $# -eq 0 ] || exec "${as_nobody[@]}" "$wine" "$@"
