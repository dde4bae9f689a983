#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root and starts the command of its desktop
# entry from there, as an unprivileged user with a home of its own, on an X server of its own. The
# program must run in the documented folder with the sample roster in it, leave an edited roster
# alone, run next to a file it is given, and the launcher must fail loudly when it cannot make its
# folder. The desktop entry, the metainfo and the package must pass their validators.
set -euo pipefail

cpack=$1
build=$2
sample=$3
roster_name=$(basename "$sample")  # the name the program reads

scratch=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
chmod 755 "$scratch"

# The package, written outside the build folder.
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$scratch"/package/*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "cpack wrote ${#debs[@]} packages: ${debs[*]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
[ "${deb##*/}" = "pelmora-simulator_${version}_amd64.deb" ] || fail "package file is named ${deb##*/}"
depends=$(dpkg-deb -f "$deb" Depends)
for package in qt6-base-abi qt6-qpa-plugins qt6-wayland libqt6svg6 fonts-ipafont-gothic xdg-user-dirs libqt6widgets6 libwayland-client0; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

root=$scratch/root
mkdir -m 755 "$root"
dpkg-deb -x "$deb" "$root"
program=$root/usr/games/pelmora-simulator
launcher=$root/usr/libexec/pelmora-simulator/pelmora-simulator-launcher
[ -x "$program" ] && [ -x "$launcher" ] || fail "program or launcher missing or not executable"
cmp "$sample" "$root/usr/share/pelmora-simulator/$roster_name" || fail "the packaged sample roster differs"
[ -s "$root/usr/share/man/man6/pelmora-simulator.6.gz" ] || fail "no manual page"

# One desktop entry, whose name, icon and metainfo agree, so a desktop finds the icon.
entries=("$root"/usr/share/applications/*.desktop)
[ ${#entries[@]} = 1 ] && [ -f "${entries[0]}" ] || fail "not one desktop entry: ${entries[*]}"
entry=${entries[0]}
id=$(basename "$entry" .desktop)
icon=$(sed -n 's/^Icon=//p' "$entry")
[ "$icon" = "$id" ] || fail "Icon=$icon, not $id"
[ -s "$root/usr/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no icon $id.svg"
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the metainfo does not launch $id.desktop"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the metainfo does not name the MIT licence"
copyright=$root/usr/share/doc/pelmora-simulator/copyright
grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" || fail "the copyright file is not machine-readable"
grep -qxF 'License: MIT' "$copyright" || fail "the copyright file does not name the MIT licence"
grep -q '^Comment=.*Documents/Pelmora Simulator' "$entry" || fail "the entry's comment does not name the folder"

desktop-file-validate "$entry" || fail "desktop-file-validate: $entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate: $metainfo"
lintian --fail-on error "$deb" || fail "lintian reports errors"

# The Exec line: the launcher's absolute installed path and the file a file manager passes.
exec_line=$(sed -n 's/^Exec=//p' "$entry")
command=${exec_line% %f}
[ "$command" != "$exec_line" ] && [ "${command#/}" != "$command" ] || fail "Exec=$exec_line"
[ "$root$command" -ef "$launcher" ] || fail "Exec=$exec_line is not the packaged launcher"

# An X server of its own.
source "$(dirname "$0")/../support/x_server.sh"
start_x_server 1024x768

# As root the launcher runs as nobody, so that a folder it cannot write stays unwritable.
user=()
owner=$(id -u):$(id -g)
if [ "$(id -u)" = 0 ]; then
  owner=$(id -u nobody):$(id -g nobody)
  user=(setpriv --reuid="${owner%:*}" --regid="${owner#*:}" --clear-groups --)
fi
new_home() {
  local home=$scratch/$1
  mkdir -p "$home/.config" "$home/.local/share" "$home/.cache" "$home/runtime"
  chown -R "$owner" "$home"
  chmod 700 "$home/runtime"
  echo "$home"
}
# launch_command HOME EXTRA-PATH [FILE]: sets launch to the Exec line mapped into the root, run
# with the variables of a desktop session whose home is HOME.
launch_command() {
  local home=$1 path=$2
  shift 2
  launch=(env -i HOME="$home" PATH="${path:+$path:}/usr/bin:/bin" DISPLAY="$DISPLAY" LANG=C.UTF-8
    XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache"
    XDG_RUNTIME_DIR="$home/runtime" XDG_DATA_DIRS="$root/usr/share:/usr/share" "${user[@]}" "$root$command" "$@")
}
# start HOME EXTRA-PATH [FILE]: runs the entry until the program's window shows.
start() {
  launch_command "$@"
  "${launch[@]}" 2>"$scratch/stderr" &
  app_pid=$!
  for _ in $(seq 1 200); do
    kill -0 "$app_pid" 2>/dev/null || { cat "$scratch/stderr" >&2; fail "the program ended: $*"; }
    xdotool search --onlyvisible --pid "$app_pid" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "no window: $*"
}
stop() {
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}
# The program, the one from the root, runs in the folder given.
expect_running_in() {
  [ "$(readlink "/proc/$app_pid/exe")" = "$program" ] || fail "running $(readlink "/proc/$app_pid/exe"), not $program"
  [ "$(readlink "/proc/$app_pid/cwd")" = "$1" ] || fail "runs in $(readlink "/proc/$app_pid/cwd"), not $1"
}

# The documents folder that user-dirs.dirs names, made by the first start, with the sample in it;
# a click runs on that sample there.
home=$(new_home documents)
echo 'XDG_DOCUMENTS_DIR="$HOME/Dokumente"' >"$home/.config/user-dirs.dirs"
folder="$home/Dokumente/Pelmora Simulator"
start "$home" ""
expect_running_in "$folder"
cmp "$sample" "$folder/$roster_name" || fail "the roster in $folder is not the sample"
window=$(xdotool search --onlyvisible --pid "$app_pid" | head -n 1)
# The window may show before Qt has set its icon property; it has a few seconds to do so. The
# property is read whole first: grep -q leaving early would kill xprop and, with pipefail, the check.
has_icon() { [[ $(xprop -id "$window" _NET_WM_ICON) == *'Icon ('* ]]; }
for _ in $(seq 1 50); do
  has_icon && break
  sleep 0.1
done
has_icon || fail "the window does not carry the packaged icon"
# An X11 desktop matches the window with its entry, and so its icon, by the window's class.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
xprop -id "$window" WM_CLASS | grep -q "\"$wm_class\"\$" || fail "the window's class is not StartupWMClass=$wm_class"
xdotool mousemove --window "$window" 250 150 click 1
for _ in $(seq 1 200); do
  [ "$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)" -ge 2 ] && break
  sleep 0.1
done
[ "$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)" -ge 2 ] || fail "no closing box after the click"
[ -s "$folder/pelm_result.txt" ] && [ -s "$folder/pelm_battle.txt" ] || fail "the run wrote no files in $folder"
stop

# A second start leaves an edited roster as it is.
head -n 2 "$sample" >"$scratch/edited.txt"
cp "$scratch/edited.txt" "$folder/$roster_name"
start "$home" ""
expect_running_in "$folder"
cmp "$scratch/edited.txt" "$folder/$roster_name" || fail "the second start overwrote the edited roster"
stop

# Opened on a file, the program runs in that file's folder, with no folder work done.
home=$(new_home file-argument)
mkdir "$home/my rosters"
cp "$scratch/edited.txt" "$home/my rosters/$roster_name"
chown -R "$owner" "$home/my rosters"
start "$home" "" "$home/my rosters/$roster_name"
expect_running_in "$home/my rosters"
cmp "$scratch/edited.txt" "$home/my rosters/$roster_name" || fail "opening a roster changed it"
[ ! -e "$home/Pelmora Simulator" ] && [ ! -e "$home/Documents" ] || fail "opening a file made the menu's folder"
stop

# When xdg-user-dir gives nothing, the folder is in the home folder.
home=$(new_home fallback)
mkdir -p "$scratch/no-user-dirs"
printf '#!/bin/sh\nexit 1\n' >"$scratch/no-user-dirs/xdg-user-dir"
chmod 755 "$scratch/no-user-dirs/xdg-user-dir"
start "$home" "$scratch/no-user-dirs"
expect_running_in "$home/Pelmora Simulator"
cmp "$sample" "$home/Pelmora Simulator/$roster_name" || fail "the roster in the home folder is not the sample"
stop

# A home folder the user cannot write: a message, the exit status 1 and no program.
home=$(new_home read-only)
chmod 555 "$home"
status=0
launch_command "$home" ""
timeout 20 "${launch[@]}" 2>"$scratch/stderr" || status=$?
[ "$status" = 1 ] || fail "an unwritable home gave the exit status $status, not 1"
grep -q "cannot create the folder $home/Pelmora Simulator" "$scratch/stderr" ||
  fail "no message about the folder: $(cat "$scratch/stderr")"

echo "package: ${deb##*/} installs, validates and starts in the documented folders"
