#!/usr/bin/env bash
# Runs a fuzz target for SECONDS, on one core at low priority, from its
# corpus and the seeds; a fault stops the run, its input is kept as
# DIR/crash-* and the run goes on from the corpus for the time left. At the
# end it prints the executions of all the runs together.
#   bash fuzz/run_fuzz.sh build-fuzz/fuzz/fuzz_escp SECONDS DIR [libFuzzer options]
set -uo pipefail
target=${1:?usage: run_fuzz.sh TARGET SECONDS DIR [options]}
seconds=${2:?}
dir=${3:?}
shift 3
here=$(cd "$(dirname "$0")" && pwd)
# (A target that is not there would fail at once, again and again, until the time is up.)
[ -x "$target" ] || { echo "run_fuzz.sh: $target: no such program (build it first)" >&2; exit 1; }
mkdir -p "$dir/corpus" "$dir/seeds"
[ -n "$(ls -A "$dir/seeds")" ] || bash "$here/make_seeds.sh" "$dir/seeds"
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=12:quarantine_size_mb=64}
export LSAN_OPTIONS=suppressions=$here/lsan.supp
end=$(( $(date +%s) + seconds ))
total=0
runs=0
while [ "$(date +%s)" -lt "$end" ]; do
  left=$(( end - $(date +%s) ))
  log="$dir/run-$runs.log"
  nice -n 10 "$target" -max_total_time="$left" -print_final_stats=1 -artifact_prefix="$dir/" "$@" \
    "$dir/corpus" "$dir/seeds" > "$log" 2>&1
  status=$?
  # A run that made no start at all (no program, a sanitizer's refusal) is not a fault to go on from.
  grep -q '^INFO: Seed:' "$log" || { echo "run $((runs + 1)): did not start:" >&2; tail -3 "$log" >&2; exit 1; }
  # The executions: the final statistics, or after a fault the last status line.
  done_now=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  [ -n "$done_now" ] || done_now=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
  total=$(( total + ${done_now:-0} ))
  runs=$(( runs + 1 ))
  echo "run $runs: status $status, $done_now executions" >&2
  [ "$status" -eq 0 ] && break
done
echo "$(basename "$target"): $total executions in $runs runs"
