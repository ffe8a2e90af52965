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
  LANG=ja_JP.UTF-8 wineserver -p 60 >/dev/null 2>&1 || true
}
stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}
