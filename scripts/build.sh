#!/usr/bin/env bash
# Configures (once) and builds both presets: native (tools, benchmarks, sanitized tests)
# and win32 (the viewer and the Windows test executables).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
for preset in native win32; do
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  cmake --build --preset "$preset"
done
