#!/usr/bin/env bash
# Builds the fuzz harnesses with clang and libFuzzer in build/libfuzzer and fuzzes one of them:
#
#   scripts/fuzz.sh [--no-merge] roster_loader|whole_run SECONDS [libFuzzer options...]
#
# SECONDS 0 runs until another limit given after it (-runs=N) or a finding stops it. The engine
# starts from the committed corpus fuzz/corpus/TARGET and keeps what it finds in
# build/libfuzzer/found/TARGET; afterwards the finds that reach code the committed corpus does not are
# merged into it with -merge=1, ready to commit; --no-merge leaves the committed corpus as it is
# (the test command fuzzes each harness briefly that way). A crash, hang or leak stops the run before the
# merge, with its reproducer in build/libfuzzer/artifacts/TARGET/; replay it with
# build/libfuzzer/fuzz/TARGET_fuzz FILE, or with the replay program of any build.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: $0 [--no-merge] roster_loader|whole_run SECONDS [libFuzzer options...]" >&2
  exit 2
}
merge=true
if [ "${1:-}" = --no-merge ]; then
  merge=false
  shift
fi
[ $# -ge 2 ] || usage
target=$1
seconds=$2
shift 2
# Long enough for a hundred roster lines, or a few names of the full 999 characters.
case $target in
  roster_loader) max_len=8192 ;;
  whole_run) max_len=4096 ;;
  *) usage ;;
esac

build=build/libfuzzer
cmake --preset libfuzzer >/dev/null
cmake --build --preset libfuzzer --target "${target}_fuzz"

# Absolute paths throughout: the harness runs each input in a private working directory.
top=$PWD
fuzzer=$top/$build/fuzz/${target}_fuzz
corpus=$top/fuzz/corpus/$target
found=$top/$build/found/$target
artifacts=$top/$build/artifacts/$target
mkdir -p "$found" "$artifacts"

"$fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
  -dict="$top/fuzz/sjis.dict" -artifact_prefix="$artifacts/" -print_final_stats=1 "$@" "$found" "$corpus"

$merge || exit 0
before=$(find "$corpus" -type f | wc -l)
"$fuzzer" -merge=1 -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 "$corpus" "$found"
after=$(find "$corpus" -type f | wc -l)
echo "fuzz/corpus/$target: $before files before the merge, $after after; $(find "$found" -type f | wc -l) found in all"
