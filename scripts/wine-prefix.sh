# Sourced by the scripts: which Windows build the tests run (WINDOWS_PRESET), and the
# Wine prefix for it, created on first use (about 15 s) and ended with stop_wine.
#
# The program ships as a 32-bit exe and its tests run it under 32-bit Wine. Some kernels
# cannot run 32-bit code at all (no 32-bit code segment: even Wine's own 32-bit loader
# fails with "Exec format error"); there the same sources are built as a 64-bit exe and
# tested under 64-bit Wine, and the scripts say so.
ROOT_DIR=${ROOT_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if [ -z "${WINDOWS_PRESET:-}" ]; then
  if [ ! -x /usr/lib/wine/wine ] || /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINDOWS_PRESET=win32
  else
    WINDOWS_PRESET=win64
  fi
fi
export WINDOWS_PRESET
export WINEPREFIX="${WINEPREFIX:-$ROOT_DIR/build/$WINDOWS_PRESET/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ "$WINDOWS_PRESET" = win64 ]; then
  export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  WINE=/usr/lib/wine/wine64
else
  export WINEARCH=win32
  WINE=wine
fi
start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating the prefix in $WINEPREFIX"
    LANG=ja_JP.UTF-8 "$WINE" wineboot -i >/dev/null 2>&1 || true
  fi
  # The viewer has no common-controls 6 manifest, so Windows draws it without visual
  # styles; Wine's default theme would draw its status bar themed (and slowly).
  if [ ! -f "$WINEPREFIX/.theme-off" ]; then
    LANG=ja_JP.UTF-8 "$WINE" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' \
      /v ThemeActive /t REG_SZ /d 0 /f >/dev/null 2>&1 </dev/null && touch "$WINEPREFIX/.theme-off"
  fi
  # A crash ends the process at once with a failure: winedbg prints the backtrace and shows no
  # crash dialog, which would wait for a click until the test's time limit.
  if [ ! -f "$WINEPREFIX/.crash-dialog-off" ]; then
    LANG=ja_JP.UTF-8 "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 \
      /f >/dev/null 2>&1 </dev/null && touch "$WINEPREFIX/.crash-dialog-off"
  fi
  # Keep the server and Wine's own background processes running for the whole run,
  # started here so that they do not hold the output pipes of the test runner open.
  LANG=ja_JP.UTF-8 wineserver -p >/dev/null 2>&1 </dev/null || true
  LANG=ja_JP.UTF-8 "$WINE" wineboot >/dev/null 2>&1 </dev/null || true
}
stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}
