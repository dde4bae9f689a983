#!/usr/bin/env bash
# Starts the real program on an X server of its own, finds its window by caption, checks its
# size and position, clicks the run button, answers the closing box with Return and compares
# both files with what the core writes for the same roster. With a DPI of 192 the server and its
# Xft.dpi resource are those of a desktop scaled to 200 %, and the window must be twice as large.
set -euo pipefail

program=$1
core_run=$2
roster=$3
roster_name=$(basename "$roster")  # the name the program reads
dpi=${4:-96}
scale=$(( dpi / 96 ))

screen_width=1280
screen_height=1024
work=$(mktemp -d)
expected=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work" "$expected"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# An X server of its own.
source "$(dirname "$0")/../support/x_server.sh"
start_x_server "${screen_width}x${screen_height}" -dpi "$dpi"
# The desktop's scale, as a desktop session sets it for every program.
echo "Xft.dpi: $dpi" | xrdb -merge

cp "$roster" "$work/$roster_name"
cp "$roster" "$expected/$roster_name"
(cd "$expected" && "$core_run" 2>/dev/null)

(cd "$work" && exec "$program") &
app_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pelmora Simulator$' | head -n 1) ||
  fail "no window with the caption Pelmora Simulator"
eval "$(xdotool getwindowgeometry --shell "$window")"
want_width=$(( 500 * scale ))
want_height=$(( 300 * scale ))
[ "$WIDTH" = "$want_width" ] && [ "$HEIGHT" = "$want_height" ] ||
  fail "window is ${WIDTH}x${HEIGHT} physical pixels, not ${want_width}x${want_height}"
# Without a window manager there is no frame: the outer size is the client size. The window
# centres itself in logical pixels.
want_x=$(( (screen_width / scale - 500) / 2 * scale ))
want_y=$(( (screen_height / scale - 300) / 2 * scale ))
[ "$X" = "$want_x" ] && [ "$Y" = "$want_y" ] || fail "window at $X,$Y, not centred at $want_x,$want_y"

# The button sits in the middle of the client area.
xdotool mousemove --window "$window" $(( 250 * scale )) $(( 150 * scale )) click 1

box=""
for _ in $(seq 1 200); do
  for candidate in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
    [ "$candidate" = "$window" ] && continue
    if xprop -id "$candidate" WM_TRANSIENT_FOR 2>/dev/null | grep -q 'window id'; then box=$candidate; fi
  done
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "the closing message box did not appear"
# The box may be seen mapped a moment before its first exposure, where the program empties its
# title once more; it must be empty by then.
for _ in $(seq 1 20); do
  names=$(xprop -id "$box" _NET_WM_NAME WM_NAME)
  echo "$names" | grep -q '_NET_WM_NAME(UTF8_STRING) = $' && echo "$names" | grep -q 'WM_NAME(STRING) = $' && break
  sleep 0.1
done
echo "$names" | grep -q '_NET_WM_NAME(UTF8_STRING) = $' || fail "box title is not empty: $names"
echo "$names" | grep -q 'WM_NAME(STRING) = $' || fail "box title is not empty: $names"

xdotool windowfocus --sync "$box"
xdotool key Return
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name '.*' 2>/dev/null | grep -qx "$box" || break
  sleep 0.1
done
xdotool search --onlyvisible --name '.*' 2>/dev/null | grep -qx "$box" && fail "Return did not close the box"

cmp "$expected/pelm_result.txt" "$work/pelm_result.txt" || fail "pelm_result.txt differs from the core's"
cmp "$expected/pelm_battle.txt" "$work/pelm_battle.txt" || fail "pelm_battle.txt differs from the core's"
[ -s "$work/pelm_battle.txt" ] || fail "the battle log is empty"

kill -0 "$app_pid" || fail "the program ended after the run"
echo "end-to-end: window, click, closing box and both files as expected"
