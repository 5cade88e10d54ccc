#!/usr/bin/env bash
# A bounded fuzz run for ctest:
#   run-fuzzer.sh fuzzer seed-dir work-dir seconds [dictionary]
# The seeds are copied into a fresh corpus under work-dir, so the repository
# is never written; crashes land in work-dir as crash-* files (put each one
# into a regression test).  Ends with the run's executions and time.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4 dict=${5:-}

rm -rf "$work"
mkdir -p "$work/corpus"
cp "$seeds"/* "$work/corpus/"

args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096
      -print_final_stats=1 -artifact_prefix="$work/")
[ -n "$dict" ] && args+=(-dict="$dict")

"$fuzzer" "${args[@]}" "$work/corpus" >"$work/log" 2>&1 || {
  tail -n 60 "$work/log"
  echo "fuzz: $(basename "$fuzzer") failed; artifacts in $work" >&2
  exit 1
}
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
# A run that executed nothing has tested nothing.
if ! [ "${runs:-0}" -gt 0 ] 2>/dev/null; then
  tail -n 20 "$work/log"
  echo "fuzz: $(basename "$fuzzer") executed no input" >&2
  exit 1
fi
echo "fuzz: $(basename "$fuzzer"): $runs executions in $seconds s, corpus $(ls "$work/corpus" | wc -l) inputs"
