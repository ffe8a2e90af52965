#!/usr/bin/env bash
# at_dpi.sh DPI EXE ARGS...: runs a Windows test exe as on a display scaled to DPI dots per
# inch, in a copy of the test prefix that says so (made once).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-prefix.sh"
scaled="$WINEPREFIX-$1dpi"
if [ ! -f "$scaled/.made" ]; then
  rm -rf "$scaled"
  cp -a "$WINEPREFIX" "$scaled"
  WINEPREFIX=$scaled LANG=ja_JP.UTF-8 "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
    /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  touch "$scaled/.made"
fi
WINEPREFIX=$scaled exec bash "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-run.sh" "${@:2}"
