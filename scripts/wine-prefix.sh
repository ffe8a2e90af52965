# Sourced by the scripts: the Wine prefix of the Windows build, created on first use
# (about 15 s) and ended with stop_wine.
ROOT_DIR=${ROOT_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX="$ROOT_DIR/build/win32/wineprefix"
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating the prefix in $WINEPREFIX"
    LANG=ja_JP.UTF-8 wineboot -i >/dev/null 2>&1 || true
  fi
  # The viewer has no common-controls 6 manifest, so Windows draws it without visual
  # styles; Wine's default theme would draw its status bar themed (and slowly).
  if [ ! -f "$WINEPREFIX/.theme-off" ]; then
    LANG=ja_JP.UTF-8 wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' \
      /v ThemeActive /t REG_SZ /d 0 /f >/dev/null 2>&1 </dev/null && touch "$WINEPREFIX/.theme-off"
  fi
  # Keep the server and Wine's own background processes running for the whole run,
  # started here so that they do not hold the output pipes of the test runner open.
  LANG=ja_JP.UTF-8 wineserver -p >/dev/null 2>&1 </dev/null || true
  LANG=ja_JP.UTF-8 wineboot >/dev/null 2>&1 </dev/null || true
}
stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}
