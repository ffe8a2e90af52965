#!/usr/bin/env bash
# Builds the viewer and opens it under Wine on a sample sequence of 300 YUV10 frames.
# With a display it simply runs the viewer. Without one it plays a few seconds in a
# private virtual display, saves a screenshot and quits.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT_DIR=$(pwd)

bash scripts/install-deps.sh
bash scripts/build.sh

FRAMES=300
SAMPLE_DIR="$ROOT_DIR/build/sample"
LAST=$(printf '%s/clip_%04d.yuv10' "$SAMPLE_DIR" $((FRAMES - 1)))
if [ ! -f "$LAST" ] || [ "$(stat -c %s "$LAST")" != 5529600 ]; then
  echo "demo: writing $FRAMES sample frames to $SAMPLE_DIR"
  mkdir -p "$SAMPLE_DIR"
  build/native/bin/make-sequence --format yuv10 --frames "$FRAMES" --out "$SAMPLE_DIR/clip_%04d.yuv10"
fi
FIRST="$SAMPLE_DIR/clip_0000.yuv10"
source scripts/wine-prefix.sh
VIEWER=build/$WINDOWS_PRESET/bin/sorrelmark.exe
WINDOWS_FIRST="Z:${FIRST//\//\\}"

if [ -n "${DISPLAY:-}" ]; then
  start_wine
  echo "demo: arrow keys play, any other key pauses, Q quits"
  exec bash scripts/wine-run.sh "$VIEWER" "$WINDOWS_FIRST"
fi

source scripts/xvfb.sh
VIEWER_PID=""
cleanup() {
  if [ -n "$VIEWER_PID" ] && kill -0 "$VIEWER_PID" 2>/dev/null; then kill "$VIEWER_PID"; fi
  stop_wine
  stop_xvfb
}
trap cleanup EXIT
start_xvfb
start_wine

bash scripts/wine-run.sh "$VIEWER" "$WINDOWS_FIRST" &
VIEWER_PID=$!
WID=""
for ((i = 0; i < 600; i++)); do
  WID=$(xdotool search --onlyvisible --name '^Quillon Sorrelmark$' 2>/dev/null | head -1) || true
  [ -n "$WID" ] && break
  sleep 0.1
done
[ -n "$WID" ] || { echo "demo: the viewer window did not appear" >&2; exit 1; }

echo "demo: playing at step +2 for three seconds"
xdotool key --window "$WID" Right Right 2>/dev/null
sleep 3
SHOT="$ROOT_DIR/build/demo-screenshot.png"
eval "$(xdotool getwindowgeometry --shell "$WID")"
import -silent -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$SHOT"
xdotool key --window "$WID" q 2>/dev/null || true
wait "$VIEWER_PID" || true
VIEWER_PID=""
echo "demo: screenshot saved to $SHOT"
