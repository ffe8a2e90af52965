#!/usr/bin/env bash
# Runs one fuzz target: run_fuzz.sh BINARY SEED_CORPUS SECONDS [RUNS [WORK_CORPUS]]
# Replays the seed corpus first, then mutates until SECONDS pass or RUNS executions are
# done. New inputs go to WORK_CORPUS (kept) or a scratch folder (removed), never into the
# repository; a crash input is written next to the binary (fuzz_X-crash-*) and the run fails.
set -euo pipefail
binary=$1 seeds=$2 seconds=$3 runs=${4:--1} keep=${5:-}
name=$(basename "$binary")
log=$(mktemp)
if [ -n "$keep" ]; then
  work=$keep
  mkdir -p "$work"
  trap 'rm -f "$log"' EXIT
else
  work=$(mktemp -d)
  trap 'rm -rf "$work" "$log"' EXIT
fi
max_len=65536
[ "$name" = fuzz_scan ] && max_len=4096
"$binary" -runs="$runs" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$(dirname "$binary")/$name-" \
  "$work" "$seeds" 2>"$log" || { tail -n 60 "$log"; exit 1; }
grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units)' "$log" | sed "s/^/$name: /"
