#!/usr/bin/env bash
# Runs every fuzz target for longer than the test suite does: scripts/fuzz.sh [seconds]
# (default 300 each). Inputs that reach new code are kept in build/native/fuzz-corpus/
# between runs; a crash leaves its input as build/native/tests/fuzz/fuzz_X-crash-*.
# To keep a crash as a regression case, copy the input into tests/fuzz/corpus/<target>/:
# the test suite replays that folder on every run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-300}
if [ ! -f build/native/CMakeCache.txt ]; then cmake --preset native >/dev/null; fi
cmake --build build/native --target fuzz_targets
status=0
for target in scan yuv10 tiff; do
  bash tests/fuzz/run_fuzz.sh "build/native/tests/fuzz/fuzz_$target" "tests/fuzz/corpus/$target" \
    "$seconds" -1 "build/native/fuzz-corpus/$target" || status=1
done
exit $status
