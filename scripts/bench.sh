#!/usr/bin/env bash
# Builds the benchmarks, writes their frame files once (build/bench-data), and prints
# the figures: decode against its floor and the 100,000-name scan, natively and under
# Wine, and playback through the real window under Wine in a private virtual display.
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

echo "== native"
build/native/bin/bench-decode --yuv10 "$DATA/yuv10/clip_0000.yuv10" --tiff "$DATA/tiff/clip_0000.tif"
build/native/bin/bench-scan "$DATA/scan"

source scripts/xvfb.sh
cleanup() {
  stop_wine
  stop_xvfb
}
trap cleanup EXIT
start_xvfb || exit 1
start_wine

echo "== Wine"
scripts/wine-run.sh $WIN/bin/bench-decode.exe --yuv10 "$W\\yuv10\\clip_0000.yuv10" \
  --tiff "$W\\tiff\\clip_0000.tif"
scripts/wine-run.sh $WIN/bin/bench-scan.exe "$W\\scan"
echo "== Wine playback"
scripts/wine-run.sh $WIN/bin/bench-playback.exe --yuv10 "$W\\play-yuv10\\take_0000.yuv10" \
  --tiff "$W\\play-tiff\\take_0000.tif" --heap-ticks 10000 2>&1 | grep -v '^X connection'
