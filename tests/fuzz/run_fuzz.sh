#!/usr/bin/env bash
# run_fuzz.sh BINARY SEEDS SECONDS [RUNS [WORK_CORPUS]]: replays SEEDS, then mutates until
# SECONDS pass or RUNS executions are done. New inputs go to WORK_CORPUS or to a scratch
# folder that is removed, never into the repository; a crash input is kept next to the
# binary (fuzz_X-crash-*) and the run fails. Inputs grow up to the largest seed (at least
# 4096 bytes): scan inputs stay short, reader inputs reach the seeds' sizes.
set -euo pipefail
work=${5:-$(mktemp -d)}
[ -n "${5:-}" ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work" && "$1" -runs="${4:--1}" -max_total_time="$3" -timeout=10 -artifact_prefix="$1-" "$work" "$2"
