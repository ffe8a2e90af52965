#!/usr/bin/env bash
# A command line naming no readable sequence: the error box comes first, then the viewer
# starts normally with nothing loaded.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

check_error_then_start() {
  start_viewer "$1"
  local eid wid
  eid=$(wait_for_window Error)
  is_visible "$MAIN_TITLE" && fail "the main window shows before the error box is closed ($2)"
  press "$eid" Return
  wid=$(wait_for_window "$MAIN_TITLE")
  sleep 0.5
  screenshot "$wid" "$WORK/empty.png"
  # Nothing loaded: the picture area is black.
  convert "$WORK/empty.png" -crop 960x300+0+100 +repage -format '%[fx:maxima.r+maxima.g+maxima.b]' info: |
    grep -qx 0 || fail "the picture is not black with nothing loaded ($2)"
  quit_viewer "$wid" "$2"
  echo "error box, then an empty viewer: $2"
}

check_error_then_start "$(windows_path "$WORK/missing_0001.yuv10")" "missing file"
long="$WORK/$(printf 'x%.0s' {1..300})_0001.yuv10"
check_error_then_start "$(windows_path "$long")" "path longer than the viewer takes"
echo "PASS"
