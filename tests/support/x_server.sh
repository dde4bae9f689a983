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
