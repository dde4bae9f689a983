#!/usr/bin/env bash
# Writes both Windows downloads with cpack and uses them under Wine as a user would, in a Wine
# prefix of the test's own whose Documents folder is a scratch home, on an X server of its own:
#
# - the zip holds one folder with the program, the sample roster, the readme and the licence (the
#   two texts as Windows text); the program carries its icon and its version information;
# - the unpacked program, started in its own folder, writes the core's files next to itself;
# - the silent installer puts the program under %LOCALAPPDATA%\Programs, the Start-menu shortcut
#   and the sample roster in Documents\Pelmora Simulator, and registers its uninstaller; the
#   shortcut runs the program in that folder; a second install keeps an edited roster; started
#   after its folder was deleted, the program runs and tells that it found no roster; the silent
#   uninstaller removes the program, the shortcut and the registration and keeps the folder.
#
# windows_packages.sh CPACK BUILD_DIR SAMPLE_ROSTER CORE_RUN WINDOW_PROBE ICON PREFIX_DIR
#
# PELMORA_E2E_SCREENSHOTS=DIR keeps a screenshot of the installed program's window there.
set -euo pipefail

cpack=$1
build=$2
sample=$3
core_run=$4
probe=$5
icon=$6
prefix=$7
roster_name=$(basename "$sample")
shots=${PELMORA_E2E_SCREENSHOTS:-}

source "$(dirname "$0")/../support/x_server.sh"
source "$(dirname "$0")/../support/wine_prefix.sh"
source "$(dirname "$0")/../support/win32_window.sh"
begin_wine_test "$prefix"

# --- The two files -------------------------------------------------------------------------
"$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/packages" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$version" ] || fail "no version in CPackConfig.cmake"
folder=pelmora-simulator-$version-win64
zip=$scratch/packages/$folder.zip
setup=$scratch/packages/$folder-setup.exe
written=$(find "$scratch/packages" -maxdepth 1 -type f -printf '%f\n' | sort)
[ "$written" = "$(printf '%s\n' "$folder-setup.exe" "$folder.zip")" ] || fail "cpack wrote: $written"

# The zip: one folder of four files. Names that are not ASCII are flagged as UTF-8, or Windows'
# own unpacker would read them in the OEM code page and the program would find no roster.
listing=$(unzip -Z1 "$zip" | sort)
expected=$(printf "$folder/%s\n" LICENSE.txt README.txt pelmora-simulator.exe "$roster_name" | sort)
[ "$listing" = "$expected" ] || fail "the zip holds: $listing"
perl -e '
  local $/; my $zip = <STDIN>; my $count = 0;
  while ($zip =~ /PK\x01\x02/g) {
    my $at = pos($zip) - 4;
    my ($flags, $length) = (unpack("v", substr($zip, $at + 8, 2)), unpack("v", substr($zip, $at + 28, 2)));
    my $name = substr($zip, $at + 46, $length);
    $count++;
    die "$name: not flagged as UTF-8\n" if $name =~ /[\x80-\xff]/ && !($flags & 0x800);
  }
  die "no central directory\n" unless $count == 4;' <"$zip" || fail "the zip's names"
unzip -q "$zip" -d "$scratch/unzipped"
unpacked=$scratch/unzipped/$folder
cmp "$sample" "$unpacked/$roster_name" || fail "the zip's roster is not the sample"
for text in README.txt LICENSE.txt; do
  perl -ne 'exit 1 if /(?<!\r)\n/' "$unpacked/$text" || fail "$text has a line end that is not CR LF"
done
[ "$(head -c 3 "$unpacked/README.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt has no byte-order mark"
grep -q "$roster_name" "$unpacked/README.txt" || fail "README.txt does not name the roster"
grep -q '^Permission is hereby granted' "$unpacked/LICENSE.txt" || fail "LICENSE.txt is not the MIT licence"

# The program's resources: every image of the icon, and the version information.
exe=$unpacked/pelmora-simulator.exe
wrestool -x -t14 "$exe" >"$scratch/program.ico" || fail "the program has no icon"
[ "$(icotool -l "$scratch/program.ico" | sed 's/--index=[0-9]* //')" = "$(icotool -l "$icon" | sed 's/--index=[0-9]* //')" ] ||
  fail "the program's icon is not the built one: $(icotool -l "$scratch/program.ico")"
# version_value FILE KEY: a string of the file's version information. In the resource's UTF-16
# text each key ends a string of its own (after its lengths) and its value is the next one.
version_value() {
  wrestool -x --raw -t16 "$1" | iconv -f UTF-16LE -t UTF-8 -c | tr '\0' '\n' | grep -av '^$' |
    awk -v key="$2" 'found { print; exit }
      length($0) >= length(key) && substr($0, length($0) - length(key) + 1) == key { found = 1 }'
}
for pair in "ProductName=Pelmora Simulator" "FileVersion=$version" "ProductVersion=$version" \
  "CompanyName=The Pelmora Simulator developers" "OriginalFilename=pelmora-simulator.exe" \
  "LegalCopyright=Copyright 2026 The Pelmora Simulator developers. MIT License."; do
  [ "$(version_value "$exe" "${pair%%=*}")" = "${pair#*=}" ] || fail "the program's version information lacks $pair"
done
[ "$(version_value "$setup" LegalCopyright)" = "Copyright 2026 The Pelmora Simulator developers. MIT License." ] ||
  fail "the installer's version information does not name the licence"

# --- Under Wine -----------------------------------------------------------------------------
# Wine links the Documents folder to the home folder: a scratch one keeps the test's files there.
export HOME=$scratch/home
mkdir -p "$HOME"
start_x_server 1280x1024
make_wine_prefix "$prefix" 96

reference=$scratch/reference
mkdir -p "$reference"
cp "$sample" "$reference/$roster_name"
(cd "$reference" && wine_run "$core_run" >/dev/null 2>&1) || true
[ -s "$reference/pelm_battle.txt" ] || fail "core_run wrote no battle log"

# run_once BOX_TEXT: clicks the run button, expects one box with the text, and answers it.
run_once() {
  xdotool mousemove --window "$window" 250 150 click 1
  expect_box "$1" 0
  answer_box
  expect_idle
}
# close_program: closes the window as Windows would and waits until every Wine process ended.
close_program() {
  wine_run taskkill /im pelmora-simulator.exe >/dev/null 2>&1 || fail "taskkill"
  wineserver -w
}
expect_files() {
  for file in pelm_result.txt pelm_battle.txt; do
    cmp "$reference/$file" "$1/$file" || fail "$file in $1 is not the core's"
  done
}
closing='「pelm_result.txt」および「pelm_battle.txt」を出力しました。'
missing_roster="${roster_name}読み込み失敗"

# The unpacked zip, started in its own folder as Explorer starts it.
(cd "$unpacked" && wine_run ./pelmora-simulator.exe) >"$scratch/zip-program.log" 2>&1 &
wait_for_window "unpacked zip"
run_once "$closing"
expect_files "$unpacked"
close_program

# The silent installer.
wine_run "$setup" /S >"$scratch/setup.log" 2>&1 || fail "the installer failed: $(cat "$scratch/setup.log")"
wineserver -w
# The user's folders where Windows has them, under C:\users\<the user>.
user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -not -name Public -printf '%f\n')
[ "$(wc -l <<<"$user")" = 1 ] || fail "not one user in the prefix: $user"
install_windows="C:\\users\\$user\\AppData\\Local\\Programs\\Pelmora Simulator"
shortcut_windows="C:\\users\\$user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Pelmora Simulator.lnk"
profile=$WINEPREFIX/drive_c/users/$user
install_dir="$profile/AppData/Local/Programs/Pelmora Simulator"
shortcut="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Pelmora Simulator.lnk"
documents=$profile/Documents
work="$documents/Pelmora Simulator"
cmp "$exe" "$install_dir/pelmora-simulator.exe" || fail "the installed program is not the zip's: $(ls -la "$install_dir" "$exe")"
for file in README.txt LICENSE.txt uninstall.exe; do
  [ -s "$install_dir/$file" ] || fail "$file was not installed"
done
[ -s "$shortcut" ] || fail "no Start-menu shortcut"
# lnk_holds TEXT: the shortcut holds the text as its UTF-16 strings are written.
lnk_holds() { perl -e 'local $/; my $lnk = <STDIN>; exit(index($lnk, join("", map { "$_\0" } split //, shift)) < 0)' "$1" <"$shortcut"; }
lnk_holds "$install_windows\pelmora-simulator.exe" || fail "the shortcut does not take the program's icon"
lnk_holds "Plays a round robin of card battles" || fail "the shortcut has no description"
cmp "$sample" "$work/$roster_name" || fail "the sample roster is not in Documents\\Pelmora Simulator"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\PelmoraSimulator'
registration=$(wine_run reg query "$key" 2>/dev/null | tr -d '\r')
for value in "DisplayName    REG_SZ    Pelmora Simulator" "DisplayVersion    REG_SZ    $version" \
  "Publisher    REG_SZ    The Pelmora Simulator developers" \
  "DisplayIcon    REG_SZ    $install_windows\\pelmora-simulator.exe,0" \
  "UninstallString    REG_SZ    \"$install_windows\\uninstall.exe\"" \
  "QuietUninstallString    REG_SZ    \"$install_windows\\uninstall.exe\" /S"; do
  grep -qxF "    $value" <<<"$registration" || fail "the registration lacks $value: $registration"
done
size=$(sed -n 's/^ *EstimatedSize *REG_DWORD *//p' <<<"$registration")
[ $(( size )) -gt 1000 ] || fail "EstimatedSize is $size KiB"

# The shortcut, started from a folder with no roster: the program runs in its working folder.
elsewhere=$scratch/elsewhere
mkdir -p "$elsewhere"
(cd "$elsewhere" && wine_run start "$shortcut_windows") >"$scratch/shortcut.log" 2>&1
wait_for_window "Start-menu shortcut"
[ -n "$shots" ] && mkdir -p "$shots" && sleep 0.5 && import -window root "$shots/installed-window.png"
run_once "$closing"
expect_files "$work"
close_program
[ -z "$(ls "$elsewhere")" ] || fail "the program wrote into the folder it was started from"

# A second install over the first keeps the user's roster.
printf '■■■■■炸斬イ報霧：エディット\r\n' >"$work/$roster_name"
cp "$work/$roster_name" "$scratch/edited"
wine_run "$setup" /S >"$scratch/setup.log" 2>&1 || fail "the second install failed: $(cat "$scratch/setup.log")"
wineserver -w
cmp "$scratch/edited" "$work/$roster_name" || fail "the second install replaced the user's roster"
[ -s "$install_dir/pelmora-simulator.exe" ] || fail "the second install left no program"

# The shortcut after its folder was deleted: the program runs and finds no roster.
mv "$work" "$scratch/kept"
(cd "$elsewhere" && wine_run start "$shortcut_windows") >"$scratch/shortcut.log" 2>&1
wait_for_window "Start-menu shortcut without its folder"
run_once "$missing_roster"
close_program
mv "$scratch/kept" "$work"

# The silent uninstaller: the program, the shortcut and the registration go; the folder stays.
wine_run "$install_dir/uninstall.exe" /S >"$scratch/uninstall.log" 2>&1 ||
  fail "the uninstaller failed: $(cat "$scratch/uninstall.log")"
wineserver -w
[ ! -e "$install_dir" ] || fail "the program's folder is still there: $(ls "$install_dir")"
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
wine_run reg query "$key" >/dev/null 2>&1 && fail "the registration is still there"
cmp "$scratch/edited" "$work/$roster_name" || fail "the uninstaller touched the roster"
expect_files "$work"

echo "Windows downloads: zip and installer as expected"
