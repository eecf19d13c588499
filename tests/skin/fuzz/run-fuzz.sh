#!/usr/bin/env bash
# Runs the skin load fuzzer for a given time and prints its final figures:
# executions, executions per second, crashes. A crash does not end the run:
# its input is kept in the artifact directory and fuzzing goes on for the
# time that is left. Exit status 1 when anything crashed.
# Usage: run-fuzz.sh <fuzzer> <seconds> <artifact-dir> <corpus-dir>...
set -uo pipefail
fuzzer=$1 seconds=$2 artifacts=$3
shift 3
mkdir -p "$artifacts"
# Short allocation stacks in reports and a smaller quarantine: the skin load
# allocates a lot, and these settings roughly double the rate. A crash input
# run again by hand gets the full reports.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=2:quarantine_size_mb=16}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

before=$(find "$artifacts" -type f | wc -l)
start=$(date +%s)
runs=0 executions=0
while :; do
  left=$((seconds - ($(date +%s) - start)))
  [ "$left" -gt 0 ] || break
  runs=$((runs + 1))
  # Inputs up to 4 KB (longer seeds, such as the embedded skin, are cut
  # there, which also makes them streams cut short); inputs that run fast
  # are chosen more often.
  "$fuzzer" -max_total_time="$left" -max_len=4096 -entropic_scale_per_exec_time=1 \
    -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$@" 2>&1 | tee "$log"
  n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  executions=$((executions + ${n:-0}))
  # A run that stops early without leaving an input behind would loop: stop.
  grep -q '^Done [0-9]* runs' "$log" && break
  now=$(find "$artifacts" -type f | wc -l)
  [ "$now" -gt "${kept:-$before}" ] || break
  kept=$now
done
elapsed=$(( $(date +%s) - start ))
crashes=$(( $(find "$artifacts" -type f | wc -l) - before ))
echo "---- skin load fuzzing: final statistics ----"
echo "executions:           $executions"
echo "seconds:              $elapsed"
echo "executions per second: $(( executions / (elapsed > 0 ? elapsed : 1) ))"
echo "crashes:              $crashes (inputs in $artifacts)"
[ "$crashes" -eq 0 ]
