#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the native suite
# (sanitizers) and the Windows executables under Wine in a private virtual display.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT_DIR=$(pwd)

bash scripts/install-deps.sh || exit 1
bash scripts/build.sh || exit 1

source scripts/xvfb.sh
source scripts/wine-prefix.sh
cleanup() { stop_wine; stop_xvfb; }
trap cleanup EXIT

start_xvfb || exit 1
start_wine

status=0
echo "== native tests"
ctest --preset native || status=1
echo "== Windows tests under Wine"
ctest --preset win32 || status=1
exit $status
