#!/usr/bin/env bash
# Runs a Windows executable under Wine in the build's own prefix, with the Japanese ANSI
# code page (932). WINEPREFIX may be set by the caller.
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
exec "$WINE" "$@"
