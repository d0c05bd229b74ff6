#!/bin/sh
# Builds the fuzz preset and runs each libFuzzer target for a bounded time.
#
#   tools/run-fuzzers.sh [SECONDS] [TARGET...]
#
# SECONDS per target defaults to 30; without TARGETs every *_fuzz target of
# the fuzz build runs. A target starts from the seeds in fuzz/corpus/<name>/
# (the target's name without "_fuzz", or failing that its first word), copied
# into a scratch corpus under build/fuzz/fuzz-run/ that grows from run to
# run; the repository itself is never written. Targets run two at a time.
# Crash, leak and timeout reproducers land in
# build/fuzz/fuzz-run/artifacts/<target>/. Exits non-zero when the build
# fails or any target finds anything.
set -eu

seconds=${1:-30}
case $seconds in
  '' | *[!0-9]*) echo "usage: $0 [seconds per target] [target...]" >&2; exit 2 ;;
esac
[ $# -gt 0 ] && shift

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cmake --preset fuzz
if [ $# -gt 0 ]; then
  targets=$*
else
  targets=$(cmake --build --preset fuzz --target help |
            sed -n 's/^\.\.\. \([A-Za-z0-9_]*_fuzz\)$/\1/p')
fi
[ -n "$targets" ] || { echo "no fuzz targets defined" >&2; exit 1; }
# shellcheck disable=SC2086
cmake --build --preset fuzz -j2 --target $targets

work=build/fuzz/fuzz-run
failed=0

# One target's run; its report on standard output, failure as its status.
run_target() {
  target=$1
  name=${target%_fuzz}
  seeds=fuzz/corpus/$name
  [ -d "$seeds" ] || seeds=fuzz/corpus/${name%%_*}
  # The catalogue targets must also see files of megabytes, where a cost per
  # line or per finding shows: their inputs may be that long from the start
  # instead of growing slowly from the seeds.
  len_control=
  case $target in
    catalogue_*_fuzz) max_len=4194304; len_control=-len_control=0 ;;
    *) max_len=4096 ;;
  esac
  corpus=$work/corpus/$target
  artifacts=$work/artifacts/$target
  log=$work/$target.log
  mkdir -p "$corpus" "$artifacts"
  if [ -d "$seeds" ]; then cp -R "$seeds"/. "$corpus"/; fi

  echo "== $target: ${seconds}s, inputs up to $max_len bytes"
  # shellcheck disable=SC2086  # $len_control is one option or none
  if build/fuzz/fuzz/"$target" "$corpus" \
      -max_total_time="$seconds" -max_len="$max_len" $len_control -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$artifacts"/ \
      -print_final_stats=1 >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
    echo "   no failure: ${runs:-?} inputs, $coverage, corpus $(ls "$corpus" | wc -l) files"
  else
    echo "   FAILED; log $log, reproducers in $artifacts:"
    grep -E '(==[0-9]+==ERROR|^SUMMARY|invariant broken|runtime error)' "$log" | head -n 5
    ls "$artifacts"
    return 1
  fi
}

# Two targets at a time, one a core: each runs for the same time, so a pair
# ends together, and the reports come in the targets' order.
mkdir -p "$work"
# shellcheck disable=SC2086
set -- $targets
while [ $# -gt 0 ]; do
  first=$1
  shift
  run_target "$first" >"$work/$first.report" 2>&1 &
  first_pid=$!
  second=
  if [ $# -gt 0 ]; then
    second=$1
    shift
    run_target "$second" >"$work/$second.report" 2>&1 &
    second_pid=$!
  fi
  wait "$first_pid" || failed=1
  cat "$work/$first.report"
  if [ -n "$second" ]; then
    wait "$second_pid" || failed=1
    cat "$work/$second.report"
  fi
done

exit $failed
