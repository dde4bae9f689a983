# Sourced by the tests that drive the Windows program's window under Wine on an X server: they
# find the window with xdotool and read it and its boxes through window_probe, whose path is in
# $probe, as Windows sees them. Needs fail.

# wait_for_window WHAT: waits until the window with the caption Pelmora Simulator shows and sets
# window to its X window; WHAT says in the failure what started it.
wait_for_window() {
  window=""
  for _ in $(seq 1 300); do
    window=$(xdotool search --onlyvisible --name '^Pelmora Simulator$' 2>/dev/null | head -n 1) &&
      [ -n "$window" ] && return 0
    sleep 0.1
  done
  fail "no window with the caption Pelmora Simulator: $1"
}

probe_window() { wine_run "$probe" window 2>&1; }
probe_boxes() { wine_run "$probe" boxes 2>&1; }
# field NAME TEXT: the value of NAME=... in the probe's lines.
field() { sed -n "s/^$1=//p" <<<"$2"; }

# wait_boxes COUNT: waits until the window owns COUNT boxes and sets boxes to what the probe saw.
wait_boxes() {
  for _ in $(seq 1 150); do
    boxes=$(probe_boxes)
    [ "$(grep -c '^box ' <<<"$boxes")" = "$1" ] && return 0
    sleep 0.1
  done
  fail "expected $1 box(es), saw: $boxes"
}
# answer_box: presses Return in the one box up and waits until it is gone.
answer_box() {
  local box
  box=$(xdotool search --onlyvisible --name '^$' 2>/dev/null | while read -r candidate; do
    [ "$(xdotool getwindowname "$candidate")" = "" ] && echo "$candidate"
  done | tail -n 1)
  [ -n "$box" ] || fail "no X window with an empty title for the box"
  xdotool windowfocus --sync "$box" key Return
  wait_boxes 0
}
# expect_box TEXT ICON: the one box up has an empty caption, the text and the icon (0 or 1), and
# the window is disabled under it.
expect_box() {
  wait_boxes 1
  [ "$boxes" = "box caption=\"\" icon=$2 text=$1" ] || fail "box: $boxes, wanted text=$1 icon=$2"
  [ "$(field enabled "$(probe_window)")" = 0 ] || fail "the window is not disabled under its box"
}
# expect_idle: the window is enabled and owns no box.
expect_idle() {
  [ "$(field enabled "$(probe_window)")" = 1 ] || fail "the window is not enabled again"
  [ -z "$(probe_boxes)" ] || fail "a box is still up"
}
