# Sourced by the tests that run Windows programs under Wine.

# begin_wine_test PREFIX_DIR: for a test with a Wine prefix and an X server of its own: makes the
# scratch folder $scratch and, at exit, ends the prefix's processes and removes the prefix (it
# takes hundreds of megabytes) with its logs, the X server start_x_server started, and $scratch.
begin_wine_test() {
  wine_test_prefix=$1
  scratch=$(mktemp -d)
  xvfb_pid=""
  trap end_wine_test EXIT
}
end_wine_test() {
  [ -d "$wine_test_prefix" ] && WINEPREFIX=$wine_test_prefix wineserver -k 2>/dev/null || true
  # A program the test left running in the background, with the helper that watches it.
  kill $(jobs -p) 2>/dev/null || true
  rm -rf "$wine_test_prefix" "$wine_test_prefix".*.log "$wine_test_prefix".*.reg "$wine_test_prefix".settings \
    "$wine_test_prefix".lock
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
fail() { echo "FAIL: $*" >&2; exit 1; }
#
# make_wine_prefix DIR DPI: makes a fresh Wine prefix in DIR (removing what was there) with
# wine_make_prefix, and exports WINEPREFIX and an English locale: UTF-8 for the file names on the
# Linux side, which is how Wine finds a file named in Japanese. The system's pixels per inch are
# DPI; the UI fonts and the font the window asks for fall back to IPA Gothic (found through
# fontconfig) for the Japanese glyphs. These settings are kept in DIR.settings, so that a prefix
# made again after Wine broke it has them too. Needs DISPLAY.
source "$(dirname "${BASH_SOURCE[0]}")/wine_run.sh"
make_wine_prefix() {
  local dir=$1 dpi=$2
  export WINEPREFIX=$dir LANG=C.UTF-8 LC_ALL=C.UTF-8
  local dpi_hex link font
  dpi_hex=$(printf '%08x' "$dpi")
  # A REG_MULTI_SZ of one string: UTF-16LE bytes with two terminating nulls, as a .reg file writes it.
  link=$(printf 'ipag.ttf,IPAGothic\0\0' | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',,' |
    sed 's/^,//; s/,$//')
  {
    echo '[HKEY_CURRENT_USER\Control Panel\Desktop]'
    echo "\"LogPixels\"=dword:$dpi_hex"
    echo
    echo '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts]'
    echo "\"LogPixels\"=dword:$dpi_hex"
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]'
    for font in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "ＭＳ Ｐゴシック" "MS PGothic"; do
      echo "\"$font\"=hex(7):$link"
    done
  } >"$dir.settings"
  wine_make_prefix "$dir" || fail "Wine could not make the prefix $dir"
}
