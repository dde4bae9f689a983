#!/usr/bin/env bash
# Checks how wine_run.sh tells Wine's failures from the program's, with a stand-in for Wine that
# fails or runs as each case asks: a start that Wine fails is started again (in a fresh prefix
# when Wine could not load its own DLLs), a program that ran and failed is not, a start counts
# only when the program asked for reached its entry point, a server that crashed under a
# program that then ended with status 0 is Wine's failure, and Wine's own lines stay out of
# the program's standard error.
set -euo pipefail
helper=$(cd "$(dirname "$0")" && pwd)/wine_run.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The stand-in: wine --version, wineboot, reg import and PROGRAM, each start counted in
# $scratch/starts; what a start does is the word of $FAKE_STARTS for that start (the last word
# for every later one).
mkdir -p "$scratch/bin"
cat >"$scratch/bin/wine" <<'EOF'
#!/usr/bin/env bash
case $1 in
  --version) echo "wine-stand-in"; exit 0 ;;
  wineboot)
    mkdir -p "$WINEPREFIX/drive_c/windows/system32"
    : >"$WINEPREFIX/drive_c/windows/system32/kernel32.dll"
    : >"$WINEPREFIX/system.reg"
    echo boot >>"$FAKE_DIR/boots"
    exit 0 ;;
  reg) echo '"RelayInclude"="pelmora.no-function"' >"$WINEPREFIX/user.reg"; exit 0 ;;
esac
echo start >>"$FAKE_DIR/starts"
read -ra plan <<<"$FAKE_STARTS"
n=$(wc -l <"$FAKE_DIR/starts")
step=${plan[$(( n <= ${#plan[@]} ? n - 1 : ${#plan[@]} - 1 ))]}
program=${1##*/}
loaded() { echo "$1:trace:loaddll:build_module Loaded L\"Z:\\\\tests\\\\$2\" at 0000000140000000: native" >&2; }
entered() { echo "$1:Starting thread proc 00000001400014D0 (arg=0000000067FF0000)" >&2; }
case $step in
  no-dll) echo "wine: could not load kernel32.dll, status c0000135" >&2; exit 53 ;;
  silent) exit 1 ;;
  other) loaded 0030 other.exe; entered 0030; exit 1 ;;
  attached) loaded 0024 "$program"; echo "0024:Call PE DLL (proc=1,module=2 L\"msvcrt.dll\",reason=PROCESS_ATTACH)" >&2; exit 1 ;;
  passes) loaded 0024 "$program"; entered 0024; echo "0024:err:module:thing Wine's own error" >&2
    echo "the program's own line" >&2; echo "output"; exit 0 ;;
  fails) loaded 0024 "$program"; entered 0024; echo "output"; exit 1 ;;
  crash) loaded 0024 "$program"; entered 0024
    echo "wineserver crashed, please enable coredumps (ulimit -c unlimited) and restart." >>"$WINEPREFIX.wineserver.log"
    sleep 1; exit 0 ;;
esac
EOF
printf '#!/bin/sh\nexit 0\n' >"$scratch/bin/wineserver"
chmod +x "$scratch/bin/wine" "$scratch/bin/wineserver"
export PATH=$scratch/bin:$PATH PELMORA_WINE=$scratch/bin/wine FAKE_DIR=$scratch

# run_case NAME PLAN: runs program.exe under the helper in a made prefix; sets status, out, err,
# starts (how many times Wine was started) and boots (prefixes made).
run_case() {
  export WINEPREFIX=$scratch/$1/prefix FAKE_STARTS=$2
  rm -f "$scratch/starts" "$scratch/boots"
  mkdir -p "$scratch/$1"
  bash "$helper" --make-prefix 2>/dev/null || fail "$1: the stand-in's prefix was not made"
  rm -f "$scratch/boots"
  status=0
  bash "$helper" program.exe >"$scratch/$1/out" 2>"$scratch/$1/err" || status=$?
  out=$(cat "$scratch/$1/out")
  err=$(cat "$scratch/$1/err")
  starts=$(wc -l <"$scratch/starts")
  boots=$( [ -f "$scratch/boots" ] && wc -l <"$scratch/boots" || echo 0)
}
expect() { # WHAT STATUS STARTS BOOTS
  [ "$status" = "$2" ] || fail "$1: exit status $status, not $2; stderr: $err"
  [ "$starts" = "$3" ] || fail "$1: $starts starts, not $3; stderr: $err"
  [ "$boots" = "$4" ] || fail "$1: $boots prefixes made, not $4; stderr: $err"
}

run_case passes "passes"
expect "a program that runs and passes" 0 1 0
[ "$out" = output ] || fail "the program's output is not passed on: $out"
[ "$err" = "the program's own line" ] || fail "standard error is not the program's alone: $err"

run_case fails "fails"
expect "a program that runs and fails" 1 1 0
grep -q 'Wine failed' <<<"$err" && fail "a program's own failure was reported as Wine's: $err"

run_case no-dll "no-dll passes"
expect "Wine that cannot load its DLLs once" 0 2 1
grep -q 'attempt 1 of 3.*Wine ended before the program started' <<<"$err" || fail "no report of the failed start: $err"
grep -q '  | wine: could not load kernel32.dll, status c0000135' <<<"$err" || fail "Wine's own message is not shown: $err"
grep -q 'again in a fresh prefix' <<<"$err" || fail "the broken prefix was not made again: $err"

run_case silent "silent"
expect "Wine that never starts the program" 1 3 0
grep -q 'attempt 3 of 3' <<<"$err" || fail "the last start is not reported: $err"

run_case other "other passes"
expect "another program started in the program's place" 0 2 0

run_case attached "attached passes"
expect "DLLs attached, the entry point never reached" 0 2 0

run_case crash "crash passes"
expect "the server crashed under a program that ended with 0" 0 2 0
grep -q "attempt 1 of 3.*server crashed" <<<"$err" || fail "the crash is not reported: $err"
grep -q '  | wineserver crashed' <<<"$err" || fail "the server's own message is not shown: $err"

echo "wine_run.sh: Wine's failures started again, the program's not"
