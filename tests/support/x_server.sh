# Sourced by the end-to-end tests that need an X server of their own.
#
# start_x_server WIDTHxHEIGHT [Xvfb options...]: starts Xvfb on the first free display number,
# which it reports through a descriptor, and sets DISPLAY and xvfb_pid; the caller's clean-up
# kills xvfb_pid. The server does not reset when its last client leaves, so resources loaded
# with xrdb stay.
start_x_server() {
  local size=$1
  shift
  exec 3< <(Xvfb -displayfd 1 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" 2>/dev/null &
    echo "pid $!"; wait)
  read -r _ xvfb_pid <&3
  read -r display_number <&3 || fail "Xvfb did not start"
  export DISPLAY=":$display_number"
}

# x_window_icon WINDOW SIZE PNG: writes the window's icon of SIZE x SIZE pixels, as the window
# gave it to X (_NET_WM_ICON), to PNG; fails when the window gave no icon of that size.
x_window_icon() {
  local window=$1 size=$2 png=$3 pixels
  pixels=$(mktemp)
  xprop -id "$window" -notype -f _NET_WM_ICON 32c _NET_WM_ICON | perl -e '
    my $size = shift;
    local $/;
    my ($values) = <STDIN> =~ /=\s*(.*)/s or exit 1;
    my @values = split /\s*,\s*/, $values;
    # Icon after icon: width, height, then one ARGB value per pixel, row by row.
    while (@values >= 2) {
      my ($width, $height) = splice @values, 0, 2;
      my @argb = splice @values, 0, $width * $height;
      next unless $width == $size && $height == $size;
      binmode STDOUT;
      print pack("C*", map { (($_ >> 16) & 255, ($_ >> 8) & 255, $_ & 255, ($_ >> 24) & 255) } @argb);
      exit 0;
    }
    exit 1' "$size" >"$pixels" || { rm -f "$pixels"; return 1; }
  convert -size "${size}x${size}" -depth 8 "rgba:$pixels" "$png"
  local status=$?
  rm -f "$pixels"
  return $status
}
