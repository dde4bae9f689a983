#!/usr/bin/env bash
# Runs a Windows program under Wine with a file system of a megabyte of its own, mounted in a mount
# namespace of its own and named to the program in PELMORA_SMALL_DISK. Wine opens files in its
# server, so the program needs a server inside the namespace: it runs from a copy of the prefix
# (hard links, which Wine replaces rather than rewrites) that no server outside serves, started
# through wine_run.sh as every test program is. Exits with 77 where the machine allows no such
# file system.
#
#   wine_on_small_disk.sh WORK_DIR PREFIX WINE PROGRAM [ARGS...]
set -euo pipefail
work=$1
prefix=$2
wine=$3
shift 3
disk_bytes=$((1024 * 1024))

rm -rf "$work"
mkdir -p "$work/disk"
cp -al "$prefix" "$work/prefix"
namespace=(unshare --mount)
[ "$(id -u)" -eq 0 ] || namespace+=(--map-root-user)
"${namespace[@]}" true 2>/dev/null || { echo "no mount namespace can be made here"; exit 77; }

export PELMORA_SMALL_DISK=$work/disk WINEPREFIX=$work/prefix PELMORA_WINE=$wine
status=0
"${namespace[@]}" bash -c '
  mount --make-rprivate / && mount -t tmpfs -o size='"$disk_bytes"' tmpfs "$PELMORA_SMALL_DISK" || exit 77
  "$@"
  status=$?
  wineserver -k 2>/dev/null
  exit $status' small_disk bash "$(dirname "$0")/wine_run.sh" "$@" || status=$?
[ $status -ne 77 ] || echo "no file system can be mounted here"
rm -rf "$work"
exit $status
