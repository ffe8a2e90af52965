#!/usr/bin/env bash
# Installs what is missing, builds both presets, makes the release archive (and checks that
# a second build in another folder gives the same bytes) and runs every test: the native
# suite (sanitizers) and the Windows executables under Wine in a private virtual display;
# the end-to-end test runs the exe from the archive.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT_DIR=$(pwd)

bash scripts/install-deps.sh || exit 1
bash scripts/build.sh || exit 1
status=0
echo "== release"
bash scripts/release.sh --check || status=1

source scripts/xvfb.sh
source scripts/wine-prefix.sh
cleanup() { stop_wine; stop_xvfb; }
trap cleanup EXIT

start_xvfb || exit 1
start_wine

# Every C and C++ file in the one format of .clang-format.
echo "== format"
if ! find core platform ui res tools bench tests \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) \
    -print0 | xargs -0 clang-format --dry-run --Werror; then
  echo "format: the files above differ from .clang-format (clang-format -i FILE mends them)"
  status=1
fi
echo "== native tests"
ctest --preset native || status=1
if [ "$WINDOWS_PRESET" = win64 ]; then
  echo "== Windows tests under 64-bit Wine: this kernel cannot run 32-bit code, so the"
  echo "   64-bit build of the same sources stands in for the 32-bit exe"
else
  echo "== Windows tests under Wine"
fi
ctest --preset "$WINDOWS_PRESET" || status=1
exit $status
