#!/usr/bin/env bash
# Started with no display at all, or with one that does not answer, the program prints one line
# that says it needs a graphical display and exits with status 1: no abort, no core dump.
set -euo pipefail

program=$1
out=$(mktemp)
trap 'rm -f "$out"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$out" >&2; exit 1; }

check() {
  local status=0
  (cd /tmp && ulimit -c 0 && timeout 10 env -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "$@" "$program") 2>"$out" || status=$?
  [ "$status" = 1 ] || fail "$* gave exit status $status, not 1"
  [ "$(wc -l <"$out")" = 1 ] || fail "$* printed $(wc -l <"$out") lines, not one"
  grep -q 'cannot open a graphical display.*X11 or Wayland' "$out" || fail "$*: no display message"
}

check env -u DISPLAY -u WAYLAND_DISPLAY
# A display number where no server listens.
check env -u WAYLAND_DISPLAY DISPLAY=:1999
echo "no display: one line and exit status 1"
