#!/usr/bin/env bash
# Starts the real program on Qt's Wayland platform under weston, twice. First on weston's
# headless backend: the window's toplevel gets its caption and a fixed size. Then on weston
# nested in an X server of its own, where xdotool can click: the run button writes both files as
# the core does, and the closing box and the two boxes of a bad roster line each reach the
# compositor with an empty title before their first picture. What the compositor receives is
# read from the program's own protocol log (WAYLAND_DEBUG=1).
set -euo pipefail

program=$1
core_run=$2
roster=$3
roster_name=$(basename "$roster")  # the name the program reads

output_width=1024
output_height=768
work=$(mktemp -d)
expected=$(mktemp -d)
# The sockets go into a runtime directory of the test's own, which mktemp makes private (0700).
runtime=$(mktemp -d)
xvfb_pid=""
weston_pid=""
app_pid=""
stop() {
  if [ -n "$1" ] && kill "$1" 2>/dev/null; then wait "$1" 2>/dev/null || true; fi
}
cleanup() {
  stop "$app_pid"
  stop "$weston_pid"
  stop "$xvfb_pid"
  rm -rf "$work" "$expected" "$runtime"
}
trap cleanup EXIT
log=""
# On failure, what the program's toplevels received so far (see toplevels below).
fail() {
  echo "FAIL: $*" >&2
  if [ -n "$log" ]; then
    echo "toplevels: shown, closed, title at first picture, titles, min, max, geometry, focused" >&2
    toplevels >&2 || true
  fi
  exit 1
}

export XDG_RUNTIME_DIR=$runtime
# No weston.ini of the machine's; kiosk-shell shows a toplevel that cannot grow centred on the
# output, so the button's place is known without a window list.
weston_options=(--no-config --idle-time=0 --shell=kiosk-shell.so --use-pixman
                --width="$output_width" --height="$output_height")

# Starts weston with the given backend on a socket of its own and waits for the socket.
start_weston() {
  local backend=$1
  socket="pelmora-e2e-$$-$backend"
  weston --backend="$backend-backend.so" --socket="$socket" "${weston_options[@]}" >"$runtime/weston.log" 2>&1 &
  weston_pid=$!
  for _ in $(seq 1 100); do
    [ -S "$runtime/$socket" ] && return 0
    kill -0 "$weston_pid" 2>/dev/null || fail "weston ($backend) did not start: $(tail -n 5 "$runtime/weston.log")"
    sleep 0.1
  done
  fail "weston ($backend) made no socket: $(tail -n 5 "$runtime/weston.log")"
}

# Starts the program in the work directory on the Wayland socket, with no X display to fall
# back on, logging every protocol message to $log.
start_program() {
  log=$1
  (cd "$work" && exec env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=1 \
    "$program" 2>"$log") &
  app_pid=$!
}

# One line per toplevel the program created, in order, tab-separated: mapped (1 once its surface
# is on an output), destroyed, the title in force when its first buffer was committed ("-" before
# that), every title it was sent, its minimum and maximum size, its last window geometry, and
# whether it has had the keyboard focus. Object ids are reused, so each new toplevel takes its
# ids over from then on.
toplevels() {
  awk '
    function arg(line) { sub(/^[^(]*\(/, "", line); sub(/\)[^)]*$/, "", line); return line }
    function title(line) { line = arg(line); sub(/^"/, "", line); sub(/"$/, "", line); return line }
    # The time stamp is padded to seven digits: "[ 577375.294]" is one field once unpadded.
    { sub(/^\[ +/, "[") }
    / -> xdg_wm_base@[0-9]+\.get_xdg_surface\(/ {
      split(arg($0), a, ", "); sub(/^new id /, "", a[1]); surfaceOf[a[1]] = a[2]
    }
    / -> xdg_surface@[0-9]+\.get_toplevel\(/ {
      split($3, a, "."); id = arg($0); sub(/^new id /, "", id)
      n++; tl[id] = n; sf[surfaceOf[a[1]]] = n; geometryOf[a[1]] = n
      titleNow[n] = "-"; atBuffer[n] = "-"; titles[n] = ""; mapped[n] = 0; gone[n] = 0; focused[n] = 0
    }
    / -> xdg_toplevel@[0-9]+\.set_title\(/ {
      split($3, a, "."); k = tl[a[1]]
      if (k) { titleNow[k] = title($0); titles[k] = titles[k] "[" titleNow[k] "]" }
    }
    / -> xdg_toplevel@[0-9]+\.set_min_size\(/ { split($3, a, "."); if (tl[a[1]]) minSize[tl[a[1]]] = arg($0) }
    / -> xdg_toplevel@[0-9]+\.set_max_size\(/ { split($3, a, "."); if (tl[a[1]]) maxSize[tl[a[1]]] = arg($0) }
    / -> xdg_toplevel@[0-9]+\.destroy\(/ { split($3, a, "."); if (tl[a[1]]) gone[tl[a[1]]] = 1; delete tl[a[1]] }
    / -> xdg_surface@[0-9]+\.set_window_geometry\(/ {
      split($3, a, "."); if (geometryOf[a[1]]) geometry[geometryOf[a[1]]] = arg($0)
    }
    / -> wl_surface@[0-9]+\.attach\(wl_buffer/ {
      split($3, a, "."); k = sf[a[1]]; if (k && atBuffer[k] == "-") atBuffer[k] = "[" titleNow[k] "]"
    }
    /^\[[0-9.]+\] wl_surface@[0-9]+\.enter\(/ { split($2, a, "."); if (sf[a[1]]) mapped[sf[a[1]]] = 1 }
    /^\[[0-9.]+\] wl_keyboard@[0-9]+\.enter\(/ { s = $3; sub(/,$/, "", s); if (sf[s]) focused[sf[s]] = 1 }
    END {
      for (k = 1; k <= n; k++)
        printf "%d\t%d\t%s\t%s\t%s\t%s\t%s\t%d\n", mapped[k], gone[k], atBuffer[k], titles[k], minSize[k],
          maxSize[k], geometry[k], focused[k]
    }' "$log"
}

# Field $2 of toplevel $1 (1 the main window, 2 and on the boxes in the order shown).
field() { toplevels | sed -n "${1}p" | cut -f "$2"; }

# Waits until toplevel $1 is shown (or, with a third argument, has the keyboard focus).
wait_shown() {
  local column=1
  [ $# -gt 2 ] && column=8
  for _ in $(seq 1 200); do
    [ "$(field "$1" "$column")" = 1 ] && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended; last log lines: $(tail -n 5 "$log")"
    sleep 0.1
  done
  fail "$2 was never shown${3:+ with the keyboard focus}"
}

wait_destroyed() {
  for _ in $(seq 1 100); do
    [ "$(field "$1" 2)" = 1 ] && return 0
    sleep 0.1
  done
  fail "Return did not close box $1"
}

# The main window: its caption, and a size it keeps however the compositor configures it (kiosk
# asks every toplevel to fill the output).
check_main_window() {
  wait_shown 1 "the main window"
  [ "$(field 1 4)" = "[Pelmora Simulator]" ] || fail "main window titles: $(field 1 4)"
  if [ "$(field 1 5)" != "500, 300" ] || [ "$(field 1 6)" != "500, 300" ]; then
    fail "main window min/max size: $(field 1 5) / $(field 1 6), not 500, 300 both"
  fi
  [ "$(field 1 7)" = "0, 0, 500, 300" ] || fail "main window geometry: $(field 1 7)"
}

# A box: shown, with the empty title in force at its first buffer and no title after that.
check_box() {
  wait_shown "$1" "$2" focused
  local titles
  titles=$(field "$1" 4)
  [ "$(field "$1" 3)" = "[]" ] || fail "$2 had the title $(field "$1" 3) at its first picture (sent: $titles)"
  case $titles in *"[]") ;; *) fail "$2 ends with a title that is not empty: $titles" ;; esac
  echo "$2: titles sent $titles, empty at its first picture"
}

cp "$roster" "$work/$roster_name"
cp "$roster" "$expected/$roster_name"
(cd "$expected" && "$core_run" 2>/dev/null)

# Weston's headless backend has no input: the window is only shown there.
start_weston headless
start_program "$runtime/headless.log"
check_main_window
stop "$app_pid"
app_pid=""
stop "$weston_pid"
weston_pid=""

# An X server of its own, and weston on it.
source "$(dirname "$0")/../support/x_server.sh"
start_x_server 1280x1024
start_weston x11
# Weston names the X window of its output in its log.
output=""
for _ in $(seq 1 50); do
  output=$(sed -n 's/.*x11 output .*, window id \([0-9]*\)$/\1/p' "$runtime/weston.log" | head -n 1)
  [ -n "$output" ] && break
  sleep 0.1
done
[ -n "$output" ] || fail "weston reported no X window"
eval "$(xdotool getwindowgeometry --shell "$output")"
# The window stands centred on the output and its button in the window's centre.
centre_x=$(( X + WIDTH / 2 ))
centre_y=$(( Y + HEIGHT / 2 ))
click_run() {
  xdotool mousemove $(( centre_x - 100 )) $(( centre_y - 100 )) sleep 0.2 mousemove "$centre_x" "$centre_y" \
    sleep 0.2 click 1
}

start_program "$runtime/nested.log"
check_main_window
click_run
check_box 2 "the closing box"
xdotool key Return
wait_destroyed 2
cmp "$expected/pelm_result.txt" "$work/pelm_result.txt" || fail "pelm_result.txt differs from the core's"
cmp "$expected/pelm_battle.txt" "$work/pelm_battle.txt" || fail "pelm_battle.txt differs from the core's"
[ -s "$work/pelm_battle.txt" ] || fail "the battle log is empty"

# A line without its colon: two boxes, one after the other, and both files left as they were.
printf '\x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1\r\n' >"$work/$roster_name"
click_run
check_box 3 "the first box of a bad line"
xdotool key Return
wait_destroyed 3
check_box 4 "the second box of a bad line"
xdotool key Return
wait_destroyed 4
cmp "$expected/pelm_result.txt" "$work/pelm_result.txt" || fail "a failed load changed pelm_result.txt"
cmp "$expected/pelm_battle.txt" "$work/pelm_battle.txt" || fail "a failed load changed pelm_battle.txt"

kill -0 "$app_pid" || fail "the program ended after the run"
grep -q 'pelmora-simulator' <(grep -- '-> xdg_toplevel@[0-9]*\.set_title' "$runtime/nested.log") &&
  echo "note: Qt itself sends the program's name as a box's first title, before the empty one"
echo "end-to-end on Wayland: caption, fixed size, click, three boxes with empty titles and both files as expected"
