# Shared helpers of the end-to-end tests: sourced, not run. The test runner sets ROOT_DIR,
# WIN32_BIN and NATIVE_BIN; scripts/test.sh provides DISPLAY and a running Wine prefix.
set -euo pipefail
: "${ROOT_DIR:?}" "${WIN32_BIN:?}" "${NATIVE_BIN:?}"
[ -n "${DISPLAY:-}" ] || { echo "needs a display (run through scripts/test.sh)" >&2; exit 1; }
source "$ROOT_DIR/scripts/wine-prefix.sh"

MAIN_TITLE="Quillon Sorrelmark"
WORK=$(mktemp -d /tmp/sorrelmark-e2e.XXXXXX)
VIEWER_PID=""

e2e_cleanup() {
  if [ -n "$VIEWER_PID" ] && kill -0 "$VIEWER_PID" 2>/dev/null; then
    kill "$VIEWER_PID" 2>/dev/null || true
    wait "$VIEWER_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The Windows name of a Linux path (Wine maps / to Z:).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# make_sequence DIR COUNT: full-size YUV10 frames DIR/clip_0000.yuv10 ...
make_sequence() {
  mkdir -p "$1"
  "$NATIVE_BIN/make-sequence" --format yuv10 --frames "$2" --out "$1/clip_%04d.yuv10"
}

# decode_reference FRAME_FILE OUT.ppm: the half-size picture the viewer should show.
decode_reference() { "$NATIVE_BIN/decode-frame" --scale 1 "$1" "$2" >/dev/null; }

# start_viewer ARGS...: sorrelmark.exe in the background; VIEWER_PID is its process.
start_viewer() {
  bash "$ROOT_DIR/scripts/wine-run.sh" "$WIN32_BIN/sorrelmark.exe" "$@" >"$WORK/viewer.log" 2>&1 &
  VIEWER_PID=$!
}

# wait_for_window TITLE: prints the X window id of the first window with that exact title.
# (Polled: xdotool's own --sync gives up when another window vanishes meanwhile.)
wait_for_window() {
  local id="" i
  for ((i = 0; i < 600; i++)); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "no window titled '$1' appeared"
  echo "$id"
}

# press WINDOW KEY...: keys straight to the window (no window manager to focus it).
press() {
  local id=$1
  shift
  xdotool key --window "$id" "$@" 2>/dev/null || true
}

# wait_for_exit SECONDS: waits for the viewer to end and sets EXIT_CODE, or fails.
# Call it in this shell, not in $(...): only the shell that started the viewer can
# collect its exit code.
EXIT_CODE=""
wait_for_exit() {
  local i
  for ((i = 0; i < $1 * 10; i++)); do
    if ! kill -0 "$VIEWER_PID" 2>/dev/null; then
      EXIT_CODE=0
      wait "$VIEWER_PID" || EXIT_CODE=$?
      VIEWER_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "the viewer did not end within $1 s"
}

# quit_viewer WINDOW [WHAT]: Q must end the viewer with exit code 0.
quit_viewer() {
  press "$1" q
  wait_for_exit 20
  [ "$EXIT_CODE" = 0 ] || fail "Q ended the viewer with code $EXIT_CODE${2:+ ($2)}"
}
# screenshot WINDOW OUT.png: what the window shows, as one image.
screenshot() { import -silent -window root -crop "$(window_box "$1")" +repage "$2"; }
window_box() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "${WIDTH}x${HEIGHT}+${X}+${Y}"
}

# differing_pixels A B: how many pixels of two same-size images differ.
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# picture_of SHOT.png OUT.png: the 960 x 540 picture area of a window screenshot. The
# picture sits below the menu bar, whose height is found once by matching a reference.
PICTURE_TOP=""
find_picture_top() {
  local shot=$1 reference=$2 top
  for ((top = 0; top <= 80; top++)); do
    convert "$shot" -crop "960x540+0+$top" +repage "$WORK/probe.png"
    if [ "$(differing_pixels "$WORK/probe.png" "$reference")" = "0" ]; then
      PICTURE_TOP=$top
      return 0
    fi
  done
  return 1
}
picture_of() {
  [ -n "$PICTURE_TOP" ] || fail "picture position not known yet"
  convert "$1" -crop "960x540+0+$PICTURE_TOP" +repage "$2"
}

# frame_shown PICTURE PREFIX COUNT: which of PREFIX0.ppm .. PREFIX(COUNT-1).ppm the
# picture is exactly, or -1.
frame_shown() {
  local n
  for ((n = 0; n < $3; n++)); do
    if [ "$(differing_pixels "$1" "$2$n.ppm")" = "0" ]; then
      echo "$n"
      return
    fi
  done
  echo -1
}
# is_visible TITLE: whether a window with that exact title is on the screen now.
is_visible() { [ -n "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]; }
