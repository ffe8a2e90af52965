#!/usr/bin/env bash
# Builds the benchmarks, writes their frame files once (build/bench-data), and prints
# the figures: decode against its floor (with the viewer's choice of row kernel, then
# with each kernel the processor runs) and the 100,000-name scan, natively and under
# Wine, FFmpeg's v210x decoder on the same YUV10 frames when ffmpeg is installed, and
# playback through the real window under Wine in a private virtual display.
# Wine runs with theming off (scripts/wine-prefix.sh), as the program looks on Windows.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT_DIR=$(pwd)
DATA="$ROOT_DIR/build/bench-data"

source scripts/wine-prefix.sh
WIN=build/$WINDOWS_PRESET
for preset in native $WINDOWS_PRESET; do
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null || exit 1
done
cmake --build build/native --target bench-decode bench-scan make-sequence -j2 >/dev/null || exit 1
cmake --build $WIN --target bench-decode bench-scan bench-playback -j2 >/dev/null || exit 1

make_frames() {  # format count dir name
  local last
  last=$(printf "%s/%s_%04d.%s" "$3" "$4" $(($2 - 1)) "$([ "$1" = tiff ] && echo tif || echo yuv10)")
  if [ ! -f "$last" ]; then
    echo "writing $2 $1 frames into $3"
    mkdir -p "$3"
    build/native/bin/make-sequence --format "$1" --frames "$2" \
      --out "$3/$4_%04d.$([ "$1" = tiff ] && echo tif || echo yuv10)" || exit 1
  fi
}
make_frames yuv10 60 "$DATA/yuv10" clip
make_frames tiff 60 "$DATA/tiff" clip
make_frames yuv10 300 "$DATA/play-yuv10" take
make_frames tiff 300 "$DATA/play-tiff" take
mkdir -p "$DATA/scan"

W=$(echo "Z:$DATA" | tr '/' '\\')
echo "== machine"
echo "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
  "$(free -g | awk '/Mem:/ {print $2}') GiB, $(uname -sr), $("$WINE" --version 2>/dev/null) ($WINDOWS_PRESET build)," \
  "load $(cut -d' ' -f1-3 /proc/loadavg)"

# The full-size YUV10 decode in ms from bench-decode's output.
full_yuv10_ms() {
  sed -n 's/^yuv10 scale=0 ms=\([0-9.]*\).*/\1/p' "$1"
}

# FFmpeg's user CPU ms per frame, decoding the 60 YUV10 frames as one stream to BGRA
# on one thread: a 60-frame and a 1-frame process alternate three times, and the
# difference over 59 frames leaves start-up out. Prints "user_ms sys_ms" (medians).
ffmpeg_frame_ms() {
  local files one all u60 s60 u1 s1 per=() sys=()
  files=$(ls "$DATA"/yuv10/clip_*.yuv10)
  one=$(echo "$files" | head -1)
  all=$(echo "$files" | paste -sd'|')
  local TIMEFORMAT='%3U %3S'
  for round in 1 2 3; do
    read -r u60 s60 < <({ time ffmpeg -nostdin -loglevel error -threads 1 -filter_threads 1 \
      -f v210x -video_size 1920x1080 -i "concat:$all" -pix_fmt bgra -f null - >/dev/null 2>&1; } 2>&1)
    read -r u1 s1 < <({ time ffmpeg -nostdin -loglevel error -threads 1 -filter_threads 1 \
      -f v210x -video_size 1920x1080 -i "concat:$one" -pix_fmt bgra -f null - >/dev/null 2>&1; } 2>&1)
    per+=("$(awk -v a="$u60" -v b="$u1" 'BEGIN { printf "%.3f", (a - b) * 1000 / 59 }')")
    sys+=("$(awk -v a="$s60" -v b="$s1" 'BEGIN { printf "%.3f", (a - b) * 1000 / 59 }')")
  done
  echo "$(printf '%s\n' "${per[@]}" | sort -g | sed -n 2p) $(printf '%s\n' "${sys[@]}" | sort -g | sed -n 2p)"
}

ffmpeg_ratio() {  # label viewer_ms
  [ -n "${FFMPEG_MS:-}" ] && [ -n "$2" ] || return 0
  awk -v v="$2" -v f="$FFMPEG_MS" -v l="$1" \
    'BEGIN { printf "ffmpeg_v210x %s: viewer_ms=%.3f ffmpeg_user_ms=%.3f viewer_faster=%.2fx\n", l, v, f, f / v }'
}

OUT=$(mktemp)
echo "== native"
build/native/bin/bench-decode --yuv10 "$DATA/yuv10/clip_0000.yuv10" --tiff "$DATA/tiff/clip_0000.tif" |
  tee "$OUT"
NATIVE_MS=$(full_yuv10_ms "$OUT")
build/native/bin/bench-scan "$DATA/scan"

FFMPEG_MS=
if command -v ffmpeg >/dev/null; then
  echo "== FFmpeg $(ffmpeg -version | sed -n '1s/^ffmpeg version \([^ ]*\).*/\1/p'), v210x to BGRA, one thread, same 60 frames"
  read -r FFMPEG_MS FFMPEG_SYS_MS < <(ffmpeg_frame_ms)
  echo "ffmpeg_v210x user_ms_per_frame=$FFMPEG_MS sys_ms_per_frame=$FFMPEG_SYS_MS"
  ffmpeg_ratio native "$NATIVE_MS"
else
  echo "== FFmpeg: not installed, no comparison"
fi

source scripts/xvfb.sh
cleanup() {
  rm -f "$OUT"
  stop_wine
  stop_xvfb
}
trap cleanup EXIT
start_xvfb || exit 1
start_wine

echo "== Wine"
scripts/wine-run.sh $WIN/bin/bench-decode.exe --yuv10 "$W\\yuv10\\clip_0000.yuv10" \
  --tiff "$W\\tiff\\clip_0000.tif" | tr -d '\r' | tee "$OUT"
ffmpeg_ratio Wine "$(full_yuv10_ms "$OUT")"
scripts/wine-run.sh $WIN/bin/bench-scan.exe "$W\\scan"
echo "== Wine playback"
scripts/wine-run.sh $WIN/bin/bench-playback.exe --yuv10 "$W\\play-yuv10\\take_0000.yuv10" \
  --tiff "$W\\play-tiff\\take_0000.tif" --heap-ticks 10000 2>&1 | grep -v '^X connection'
