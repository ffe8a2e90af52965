#!/usr/bin/env bash
# Configures (once) and builds the presets: native (tools, benchmarks, sanitized tests),
# win32 (the viewer and the Windows test executables) and, where this kernel cannot run
# 32-bit code, win64 (the same sources for the Windows tests under 64-bit Wine).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-prefix.sh
presets=(native win32)
[ "$WINDOWS_PRESET" = win64 ] && presets+=(win64)
for preset in "${presets[@]}"; do
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  cmake --build --preset "$preset"
done
