#!/usr/bin/env bash
# on_display.sh DPI SCREEN EXE ARGS...: runs a Windows test exe as on a display of SCREEN (WxH)
# scaled to DPI dots per inch: in a copy of the test prefix that says so (made once), on a
# virtual display of its own. The copy's wineserver, ended before and after, takes the size
# of the screen it starts on.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-prefix.sh"
source "$(dirname "$0")/../../scripts/xvfb.sh"
export WINEPREFIX=$WINEPREFIX-$1dpi-$2
if [ ! -f "$WINEPREFIX/.made" ]; then
  rm -rf "$WINEPREFIX" && cp -a "${WINEPREFIX%-*-*}" "$WINEPREFIX"
  LANG=ja_JP.UTF-8 "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$1" /f &>/dev/null && touch "$WINEPREFIX/.made"
fi
trap 'wineserver -k; stop_xvfb' EXIT
wineserver -k && wineserver -w || true
start_xvfb "$2"
bash "$(dirname "$0")/../../scripts/wine-run.sh" "${@:3}"
