#!/usr/bin/env bash
# Runs one fuzz target: run_fuzz.sh BINARY SEED_CORPUS SECONDS [RUNS]
# Replays the seed corpus first, then mutates until SECONDS pass or RUNS executions are
# done. New inputs are kept in a scratch folder; a crash input is written next to the
# binary (crash-*) and the run fails.
set -euo pipefail
binary=$1 seeds=$2 seconds=$3 runs=${4:--1}
name=$(basename "$binary")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
max_len=65536
[ "$name" = fuzz_scan ] && max_len=4096
"$binary" -runs="$runs" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$(dirname "$binary")/$name-" \
  "$work" "$seeds" 2>"$work.log" || { tail -n 60 "$work.log"; rm -f "$work.log"; exit 1; }
grep -E '^(Done|stat::number_of_executed_units|#[0-9]+ *DONE)' "$work.log" | sed "s/^/$name: /"
rm -f "$work.log"
