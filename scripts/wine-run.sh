#!/usr/bin/env bash
# Runs a Windows executable under 32-bit Wine in the build's own prefix, with the
# Japanese ANSI code page (932). WINEPREFIX may be set by the caller.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/win32/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
exec wine "$@"
