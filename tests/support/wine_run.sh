#!/usr/bin/env bash
# Runs Windows programs under Wine for the tests and tells Wine's own failures from the program's:
# a start that Wine fails before the program has run, or that Wine's server or client breaks
# under it, is started again (at most twice, in a fresh prefix where the prefix is broken) and
# the test's output says so with Wine's own messages; a program that ran and failed is never
# started again. Sourced by the tests' scripts, and run as a command it is the emulator that
# starts every test program:
#
#   wine_run.sh PROGRAM [ARGUMENTS...]   runs PROGRAM in $WINEPREFIX, made first if it is not
#   wine_run.sh --make-prefix            makes $WINEPREFIX unless it is made already
#
# PELMORA_WINE names the wine command (default: wine).
#
# How a start is known to have reached the program: Wine's loader names, on its loaddll channel,
# the main module of each process it loads ("Loaded L"...\battle_tests.exe"") from that process's
# first thread, and its relay channel notes, from the same thread, the moment it hands that
# thread to the program's entry point ("Starting thread proc"), after every DLL has loaded and
# attached. Both lines, from one thread, for the program asked for, are the mark: until then
# only Wine has run, and whatever stops the start is Wine's failure. Output of the program is no
# such mark: the window, the installer and the signature run write none. The relay channel would
# trace every call; the prefix limits it to no function at all (RelayInclude), so it writes only
# those hand-overs and the DLLs' attach calls, which are left out of what the test sees.

wine_command=${PELMORA_WINE:-wine}
wine_attempts=3
wine_boot_seconds=90   # a prefix takes 10 to 30 seconds to make here, beside other tests
wine_start_seconds=60  # Wine takes a second or two to reach a program
# The helper's own reports go to the standard error it was started or sourced with, even from a
# call whose standard error the caller keeps for itself.
exec {wine_report}>&2
wine_noise='^[0-9a-f]{4,}:(trace|err|warn|fixme):|^[0-9a-f]{4,}:(Call|Ret|Starting) |^wine: '

# wine_quiet_environment: no Mono or Gecko installer asks on screen; Wine's errors are kept (in the
# start's own log, see wine_run) but not its notes of what it does not implement.
wine_quiet_environment() {
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG=-all,err+all
}

# wine_prefix_made DIR: DIR holds a prefix that wine_make_prefix finished, for this Wine.
wine_prefix_made() {
  wine_version
  [ -f "$1/system.reg" ] && [ -f "$1/user.reg" ] && [ -f "$1/drive_c/windows/system32/kernel32.dll" ] &&
    [ "$(cat "$1/.pelmora-made" 2>/dev/null)" = "$wine_version_seen" ]
}
# wine_version: sets wine_version_seen to what this Wine says it is, asked once.
wine_version() {
  [ -n "${wine_version_seen:-}" ] || wine_version_seen=$(WINEDEBUG=-all "$wine_command" --version 2>/dev/null)
}

# wine_lock DIR MODE: takes DIR's lock on descriptor 8, shared (-s) to run in it or exclusive (-x)
# to make it. The descriptor is closed for every program started under it, so that no Wine
# process or server started then holds the lock after the helper lets it go.
wine_lock() {
  exec 8>>"$1.lock"
  flock "$2" 8
}
wine_unlock() { exec 8>&-; }

# wine_make_prefix DIR: makes a fresh prefix in DIR, with the registry settings in DIR.settings
# (.reg sections as UTF-8 text) if there is one, and marks it made. A boot that fails or takes
# longer than wine_boot_seconds is reported with Wine's messages and started again in an empty
# folder, at most twice. Prefixes are made one at a time (for each user), so that no two boots
# race, whichever tests make them.
wine_make_prefix() {
  local dir=$1 attempt
  wine_quiet_environment
  wine_lock "$dir" -x
  for attempt in $(seq 1 $wine_attempts); do
    if wine_boot "$dir"; then
      wine_unlock
      return 0
    fi
    echo "Wine could not make the prefix $dir (attempt $attempt of $wine_attempts); it said:" >&$wine_report
    sed 's/^/  | /' "$dir.boot.log" >&$wine_report
    if [ "$attempt" -lt $wine_attempts ]; then echo "Making it again in an empty folder." >&$wine_report; fi
  done
  wine_unlock
  return 1
}

# wine_boot DIR: one try at making DIR, its messages in DIR.boot.log.
wine_boot() {
  local dir=$1 log=$1.boot.log settings=$1.boot.reg status=0
  WINEPREFIX=$dir wineserver -k 2>/dev/null
  rm -rf "$dir"
  mkdir -p "$dir"
  wine_registry_file "$dir" >"$settings"
  (
    exec 9>>"/tmp/pelmora-wine-boot-$(id -u).lock"
    flock -x 9
    export WINEPREFIX=$dir
    # reg finds the settings through Wine's drive Z:, the root of the Linux side.
    timeout "$wine_boot_seconds" bash -c '"$1" wineboot --init && "$1" reg import "$2" && wineserver -w' \
      wine_boot "$wine_command" "Z:${settings//\//\\}" 8>&- 9>&- {wine_report}>&- </dev/null >"$log" 2>&1
  ) || status=$?
  if [ $status -eq 124 ]; then
    echo "(no end after $wine_boot_seconds seconds)" >>"$log"
    WINEPREFIX=$dir wineserver -k 2>/dev/null
  fi
  [ $status -eq 0 ] || return 1
  grep -q '^"RelayInclude"=' "$dir/user.reg" || { echo "(the registry settings were not kept)" >>"$log"; return 1; }
  wine_version
  echo "$wine_version_seen" >"$dir/.pelmora-made"
  wine_prefix_made "$dir" || { echo "(the prefix lacks Windows' own files)" >>"$log"; return 1; }
}

# wine_registry_file DIR: the prefix's registry settings as reg imports them (UTF-16LE with a
# byte-order mark and CR LF): the relay channel limited to the start of threads (see the top), then
# DIR.settings.
wine_registry_file() {
  {
    echo 'Windows Registry Editor Version 5.00'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Debug]'
    echo '"RelayInclude"="pelmora.no-function"'
    echo
    [ ! -f "$1.settings" ] || cat "$1.settings"
  } | sed 's/$/\r/' | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; }
}

# wine_run PROGRAM [ARGUMENTS...]: runs PROGRAM under Wine in $WINEPREFIX (making the prefix when
# it is not made or is broken) and returns its exit status. Standard output is the program's;
# its standard error reaches ours when it ends, without Wine's own lines, which are shown only
# for a start that failed.
wine_run() {
  local attempt status=1 log
  wine_quiet_environment
  log=$(mktemp)
  for attempt in $(seq 1 $wine_attempts); do
    wine_lock "$WINEPREFIX" -s
    if ! wine_prefix_made "$WINEPREFIX"; then
      wine_unlock
      wine_prefix_made "$WINEPREFIX" || wine_make_prefix "$WINEPREFIX" || break
      wine_lock "$WINEPREFIX" -s
    fi
    status=0
    wine_start "$log" "$@" || status=$?
    wine_unlock
    if [ -z "$wine_failure" ]; then
      # A program that ran and failed is the test's failure; Wine's word on how it ended (an
      # unhandled exception, say) comes with it.
      if [ $status -ne 0 ]; then grep '^wine: ' "$log" >&2 || true; fi
      rm -f "$log"
      return $status
    fi
    {
      echo "Wine failed to run ${1##*[/\\]} (attempt $attempt of $wine_attempts, exit status $status): $wine_failure; it said:"
      grep -Ev '^[0-9a-f]{4,}:(trace:|Call |Ret |Starting )' "$log" | sed 's/^/  | /'
    } >&$wine_report
    [ "$attempt" -lt $wine_attempts ] || break
    if grep -q 'c0000135\|could not load' "$log" || ! wine_prefix_made "$WINEPREFIX"; then
      echo "Starting it again in a fresh prefix." >&$wine_report
      rm -f "$WINEPREFIX/.pelmora-made"
    else
      echo "Starting it again." >&$wine_report
    fi
  done
  rm -f "$log"
  [ $status -ne 0 ] || status=1
  return $status
}

# wine_start LOG PROGRAM [ARGUMENTS...]: one start; sets wine_failure to what went wrong with Wine,
# empty when the program ran and Wine held up under it. Wine's server is started here, so that
# its own messages ("wineserver crashed") go to the prefix's server log whichever test it serves.
# A client whose server crashed may hang (a thread that waits for it forever) or end with status
# 0 as if the program had finished, so the server log is watched while the program runs.
wine_start() {
  local log=$1 pid watcher status=0 waited=0
  shift
  wine_failure=""
  wine_server_log=$WINEPREFIX.wineserver.log
  touch "$wine_server_log"
  wine_server_seen=$(stat -c %s "$wine_server_log")
  wineserver 8>&- {wine_report}>&- </dev/null >/dev/null 2>>"$wine_server_log" || true
  rm -f "$log.crashed"
  WINEDEBUG=$WINEDEBUG,+loaddll,+relay "$wine_command" "$@" 8>&- {wine_report}>&- 2>"$log" &
  pid=$!
  (
    while sleep 0.5; do
      wine_server_crashed || continue
      touch "$log.crashed"
      kill -KILL $pid
      exit
    done
  ) 8>&- {wine_report}>&- </dev/null >/dev/null 2>&1 &
  watcher=$!
  until wine_program_started "$log" "$1"; do
    kill -0 $pid 2>/dev/null || break
    if [ $waited -ge $((wine_start_seconds * 20)) ]; then
      wine_failure="Wine did not reach the program in $wine_start_seconds seconds"
      kill -KILL $pid 2>/dev/null
      break
    fi
    sleep 0.05
    waited=$((waited + 1))
  done
  { wait $pid; } 2>/dev/null || status=$?
  kill $watcher 2>/dev/null || true
  wait $watcher 2>/dev/null || true
  # The program's own standard error, without Wine's lines.
  grep -Ev "$wine_noise" "$log" >&2 || true
  if [ -n "$wine_failure" ]; then
    :
  elif ! wine_program_started "$log" "$1"; then
    wine_failure="Wine ended before the program started"
  elif [ -e "$log.crashed" ] || wine_server_crashed || grep -q 'wineserver crashed' "$log"; then
    wine_failure="Wine's server crashed under the program"
  elif grep -q '^wine client error' "$log"; then
    wine_failure="Wine's client lost its server"
  fi
  rm -f "$log.crashed"
  [ -z "$wine_failure" ] || tail -c +$((wine_server_seen + 1)) "$wine_server_log" >>"$log"
  return $status
}

# wine_server_crashed: the prefix's server log says, since this start began, that a server crashed.
wine_server_crashed() { tail -c +$((wine_server_seen + 1)) "$wine_server_log" | grep -q crashed; }

# wine_program_started LOG PROGRAM: the log shows PROGRAM's first thread handed to its entry point.
wine_program_started() {
  local name=${2##*[/\\]}
  case ${name,,} in *.exe) ;; *) name=$name.exe ;; esac
  needle="\\\\$name\" at " awk '
    BEGIN { needle = tolower(ENVIRON["needle"]) }
    /^[0-9a-f]+:trace:loaddll:build_module Loaded L"/ && index(tolower($0), needle) {
      loaded[substr($0, 1, index($0, ":"))] = 1
      next
    }
    /^[0-9a-f]+:Starting thread proc / && loaded[substr($0, 1, index($0, ":"))] { found = 1; exit }
    END { exit !found }' "$1"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  [ -n "${WINEPREFIX:-}" ] || { echo "usage: WINEPREFIX=DIR $0 --make-prefix | PROGRAM [ARGUMENTS...]" >&2; exit 2; }
  if [ "${1:-}" = --make-prefix ]; then
    wine_quiet_environment
    wine_prefix_made "$WINEPREFIX" || wine_make_prefix "$WINEPREFIX"
    exit
  fi
  wine_run "$@"
fi
