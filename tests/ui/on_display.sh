#!/usr/bin/env bash
# on_display.sh DPI SCREEN EXE ARGS...: runs a Windows test exe as on a display scaled to DPI
# dots per inch, in a copy of the test prefix that says so (made once). With a SCREEN (WxH)
# other than the test run's, on a virtual display of that size of its own: the copy's own
# wineserver, ended before and after, takes the size of the screen it starts on.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-prefix.sh"
source "$(dirname "$0")/../../scripts/xvfb.sh"
base=$WINEPREFIX
export WINEPREFIX=$base-$1dpi-$2
if [ ! -f "$WINEPREFIX/.made" ]; then
  rm -rf "$WINEPREFIX" && cp -a "$base" "$WINEPREFIX"
  LANG=ja_JP.UTF-8 "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$1" /f &>/dev/null && touch "$WINEPREFIX/.made"
fi
if [ "$2" != 2560x1600 ]; then
  trap 'wineserver -k; stop_xvfb' EXIT
  wineserver -k && wineserver -w || true
  start_xvfb "$2"
fi
bash "$(dirname "$0")/../../scripts/wine-run.sh" "${@:3}"
