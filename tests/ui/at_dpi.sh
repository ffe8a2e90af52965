#!/usr/bin/env bash
# at_dpi.sh DPI EXE ARGS...: runs a Windows test exe as on a display scaled to DPI dots per
# inch, in a copy of the test prefix that says so (made once).
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-prefix.sh"
export WINEPREFIX=$WINEPREFIX-$1dpi
if [ ! -f "$WINEPREFIX/.made" ]; then
  rm -rf "$WINEPREFIX" && cp -a "${WINEPREFIX%-*}" "$WINEPREFIX"
  LANG=ja_JP.UTF-8 "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$1" /f &>/dev/null && touch "$WINEPREFIX/.made"
fi
exec bash "$(dirname "$0")/../../scripts/wine-run.sh" "${@:2}"
