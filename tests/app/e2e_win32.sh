#!/usr/bin/env bash
# Starts the Windows program under Wine, in a Wine prefix of the test's own, on an X server of its
# own, with an English locale, and drives it as a user would: xdotool clicks the run button and
# answers the boxes with Return. window_probe, a second Windows program on the same desktop, reads
# the window and its boxes as Windows sees them. Checked: the caption, frame, client size and
# centring, the title bar's icon, the panel and the button, Alt with another key reaching the
# system, the private message, the files of runs on the sample roster and on a generated roster
# saved as Shift_JIS and as UTF-8 (byte for byte those of the core's own core_run under the same
# Wine), the closing box, the boxes of a bad line and of a missing roster (no file touched), and
# the error box of a report that cannot be created; after each box the window is enabled and
# clickable again.
#
# e2e_win32.sh PROGRAM CORE_RUN WINDOW_PROBE SAMPLE_ROSTER ICON PREFIX_DIR [DPI]
#
# At 192 DPI the system's pixels per inch are those of a screen scaled to 200 %: the window must
# be twice as large and the run still the same. PELMORA_E2E_SCREENSHOTS=DIR keeps screenshots of
# the window, the closing box and the error box there.
set -euo pipefail

program=$1
core_run=$2
probe=$3
sample=$4
icon=$5
prefix=$6
dpi=${7:-96}
roster_name=$(basename "$sample")  # the name the program reads
shots=${PELMORA_E2E_SCREENSHOTS:-}

screen_width=1280
screen_height=1024
scale() { echo $(( $1 * dpi / 96 )); }

source "$(dirname "$0")/../support/x_server.sh"
source "$(dirname "$0")/../support/wine_prefix.sh"
source "$(dirname "$0")/../support/win32_window.sh"
begin_wine_test "$prefix"
start_x_server "${screen_width}x${screen_height}"
make_wine_prefix "$prefix" "$dpi"

# run_core DIR: the core's own files for the roster in DIR, written by core_run under the same Wine.
run_core() { (cd "$1" && wine_run "$core_run" >/dev/null 2>&1) || true; }

work=$scratch/work
mkdir -p "$work"
cp "$sample" "$work/$roster_name"
(cd "$work" && wine_run "$program") >"$scratch/program.log" 2>&1 &

wait_for_window "$(cat "$scratch/program.log")"

probe_menu() { wine_run "$probe" menu 2>&1; }
shot() { [ -n "$shots" ] && mkdir -p "$shots" && import -window root "$shots/$1-${dpi}dpi.png"; true; }

# The window as Windows sees it: caption, DPI, fixed frame, client size, centred by its outer size.
seen=$(probe_window)
[ "$(field caption "$seen")" = "Pelmora Simulator" ] || fail "caption: $seen"
[ "$(field dpi "$seen")" = "$dpi" ] || fail "the window's DPI is not $dpi: $seen"
grep -qx 'sizing=0 maximize=0 minimize=1 sysmenu=1' <<<"$seen" || fail "frame: $seen"
client=$(field client "$seen")
[ "${client#*,*,}" = "$(scale 500)x$(scale 300)" ] || fail "client area $client, not $(scale 500)x$(scale 300)"
IFS=',x' read -r left top outer_width outer_height <<<"$(field outer "$seen")"
[ "$(field screen "$seen")" = "${screen_width}x${screen_height}" ] || fail "screen: $seen"
# Truncation toward zero, as the window does it.
want_left=$(( (screen_width - outer_width) / 2 ))
want_top=$(( (screen_height - outer_height) / 2 ))
[ "$left" = "$want_left" ] && [ "$top" = "$want_top" ] ||
  fail "outer $outer_width x $outer_height at $left,$top, not centred at $want_left,$want_top"
[ "$(field panel "$seen")" = "0,0,$(scale 500)x$(scale 300) visible=1" ] || fail "PageMain: $seen"
[ "$(field control "$seen")" = "Button $(scale 210),$(scale 125),$(scale 80)x$(scale 50) text=実行" ] ||
  fail "Button1: $seen"

# The same as X sees it: the window manager's frame is Wine's, the X window is the client area.
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "${WIDTH}x${HEIGHT}" = "$(scale 500)x$(scale 300)" ] || fail "the X window is ${WIDTH}x${HEIGHT}"
[ "$X,$Y" = "${client%,*}" ] || fail "the X window is at $X,$Y, the client area at ${client%,*}"

# The title bar's icon, as the window hands it to X: the program's own, drawn from the image of
# the size this DPI's small icons have.
small_icon=$(scale 16)
x_window_icon "$window" "$small_icon" "$scratch/title-icon.png" || fail "the window gives X no ${small_icon}-pixel icon"
icotool -x -w "$small_icon" -o "$scratch/program-icon.png" "$icon" || fail "the icon has no ${small_icon}-pixel image"
compare -metric AE "$scratch/title-icon.png" "$scratch/program-icon.png" null: 2>/dev/null ||
  fail "the title bar's icon is not the program's ${small_icon}-pixel image"

# The panel's colour, a little inside its corner.
sleep 0.5
import -window root "$scratch/window.png"
colour=$(convert "$scratch/window.png" -format "%[pixel:p{$((X + 3)),$((Y + 3))}]" info:)
[ "$colour" = "srgb(68,68,68)" ] || [ "$colour" = "gray(68)" ] || fail "PageMain's colour is $colour"
shot window

click() { xdotool mousemove --window "$window" "$(scale 250)" "$(scale 150)" click 1; }
# expect_files REFERENCE_DIR: both files of the run are those of the core.
expect_files() {
  cmp "$1/pelm_result.txt" "$work/pelm_result.txt" || fail "pelm_result.txt differs from the core's"
  cmp "$1/pelm_battle.txt" "$work/pelm_battle.txt" || fail "pelm_battle.txt differs from the core's"
  [ -s "$work/pelm_battle.txt" ] || fail "the battle log is empty"
}
closing='「pelm_result.txt」および「pelm_battle.txt」を出力しました。'

# The sample roster: the closing box, then the core's files.
reference=$scratch/sample
mkdir -p "$reference" && cp "$sample" "$reference/$roster_name" && run_core "$reference"
click
expect_box "$closing" 0
shot closing-box
answer_box
expect_idle
expect_files "$reference"

if [ "$dpi" = 96 ]; then
  # Alt with another key reaches the system as usual: Alt+Space opens the system menu. (Alt
  # alone and F10 start no menu loop under Wine whether the window takes them or not; the window's
  # own test checks that it takes them.)
  xdotool windowfocus --sync "$window"
  xdotool key alt+space
  for _ in $(seq 1 30); do [ "$(probe_menu)" = "menu=1" ] && break; sleep 0.1; done
  [ "$(probe_menu)" = "menu=1" ] || fail "Alt+Space did not open the system menu"
  xdotool key Escape Escape
  for _ in $(seq 1 30); do [ "$(probe_menu)" = "menu=0" ] && break; sleep 0.1; done
  [ "$(probe_menu)" = "menu=0" ] || fail "Escape did not leave the system menu"

  # The private message is taken and the window lives on.
  [ "$(wine_run "$probe" private 2>&1)" = "answered=1 alive=1" ] || fail "the private message"

  # A generated roster of twenty characters, saved as Shift_JIS and as UTF-8: each run writes the
  # core's files for its roster, those of the UTF-8 roster in UTF-8. The names hold 表 and ソ,
  # whose second byte is "\".
  marks=(■ ■ ■ 炸 斬 イ 報 霧 楽 空)
  names=(ソード 表示 剣士 勇者 魔法使い 格闘家 アオイ レン)
  for i in $(seq 1 20); do
    line=""
    for j in $(seq 0 9); do line+=${marks[$(( (i * 7 + j * 3 + i * j) % 10 ))]}; done
    printf '%s：%s%02d\r\n' "$line" "${names[$(( i % 8 ))]}" "$i"
  done >"$scratch/roster.utf8"
  mkdir -p "$scratch/generated-sjis" "$scratch/generated-utf8"
  iconv -f UTF-8 -t CP932 "$scratch/roster.utf8" >"$scratch/generated-sjis/$roster_name"
  cp "$scratch/roster.utf8" "$scratch/generated-utf8/$roster_name"
  run_core "$scratch/generated-sjis"
  run_core "$scratch/generated-utf8"
  for file in pelm_result.txt pelm_battle.txt; do
    iconv -f CP932 -t UTF-8 "$scratch/generated-sjis/$file" | cmp - "$scratch/generated-utf8/$file" ||
      fail "the UTF-8 roster's $file is not the Shift_JIS roster's in UTF-8"
  done
  for encoding in sjis utf8; do
    reference=$scratch/generated-$encoding
    cp "$reference/$roster_name" "$work/$roster_name"
    rm -f "$work"/pelm_*.txt
    click
    expect_box "$closing" 0
    answer_box
    expect_idle
    expect_files "$reference"
  done

  # A bad line: its own box, then the parse error box; neither file is touched.
  echo "untouched" >"$work/pelm_result.txt"
  echo "untouched" >"$work/pelm_battle.txt"
  printf '■■■炸斬■霧楽イ空：勇者\r\n■■■炸斬■霧楽イ空勇者\r\n' | iconv -f UTF-8 -t CP932 >"$work/$roster_name"
  click
  expect_box "：じゃないエラー" 0
  answer_box
  expect_box "キャラクター解析エラー" 0
  answer_box
  expect_idle
  # A missing roster: one box.
  rm "$work/$roster_name"
  click
  expect_box "キャラクター.txt読み込み失敗" 0
  answer_box
  expect_idle
  for file in pelm_result.txt pelm_battle.txt; do
    [ "$(cat "$work/$file")" = "untouched" ] || fail "$file was touched by a roster that failed"
  done
fi

# A report that cannot be created: the error box, one, with an empty caption, an error icon and a
# text that ends in a full stop; afterwards the window runs again.
cp "$sample" "$work/$roster_name"
rm -f "$work"/pelm_*.txt
mkdir "$work/pelm_result.txt"
click
wait_boxes 1
grep -q '^box caption="" icon=1 text=..*\.$' <<<"$boxes" || fail "error box: $boxes"
[ "$(field enabled "$(probe_window)")" = 0 ] || fail "the window is not disabled under the error box"
echo "error box: $boxes"
shot error-box
answer_box
expect_idle
rmdir "$work/pelm_result.txt"
click
expect_box "$closing" 0
answer_box
expect_idle
expect_files "$scratch/sample"

echo "end-to-end under Wine at $dpi DPI: window, boxes and files as expected"
