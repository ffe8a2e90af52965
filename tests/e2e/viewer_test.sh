#!/usr/bin/env bash
# The real sorrelmark.exe under Wine in the test run's display. There is no window
# manager, so keys go to a window by its id and screenshots are taken of it directly.
set -euo pipefail
source "$ROOT_DIR/scripts/wine-prefix.sh"
W=$(mktemp -d /tmp/sorrelmark-e2e.XXXXXX) PID=
trap '[ -z "$PID" ] || kill "$PID" 2>/dev/null; rm -rf "$W"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
start() { bash "$ROOT_DIR/scripts/wine-run.sh" "$EXE" "$1" 2>"$W/stderr" >/dev/null & PID=$!; }
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
window() {
  # Asked again after a pause: Wine may replace the X window it first showed.
  for _ in $(seq 300); do [ -n "$(visible "$1")" ] && sleep 0.5 && visible "$1" | grep . && return; sleep 0.1; done
  fail "no window titled $1"
}
# Keys to the window with that title, looked up each time: Wine may replace its X window.
key() { for _ in 1 2 3; do xdotool key --window "$(window "$1")" "${@:2}" 2>/dev/null && return; done; fail "no keys to $1"; }
quit() { key "$MAIN" q; wait "$PID" || fail "Q ended the viewer with $?"; PID=; }
MAIN='Quillon Sorrelmark'

# What ships is what is tested: the exe unpacked from the release archive, with the guides,
# the licence and the notices beside it, importing only what Windows XP has. Where this kernel
# runs no 32-bit code, the 64-bit build runs instead and the archive is only read.
[ "$RELEASE_ZIP" -nt "$ROOT_DIR/build/win32/bin/sorrelmark.exe" ] || fail "no $RELEASE_ZIP newer than the exe: bash scripts/release.sh"
P=$(basename "$RELEASE_ZIP" .zip)
[ "$(unzip -Z1 "$RELEASE_ZIP" | xargs)" = "$P/LICENSE.txt $P/NOTICES.txt $P/README-en.txt $P/README-ja.txt $P/sorrelmark.exe" ] || fail "the archive holds $(unzip -Z1 "$RELEASE_ZIP" | xargs)"
unzip -q "$RELEASE_ZIP" -d "$W"
EXE=$W/$P/sorrelmark.exe
[[ $(i686-w64-mingw32-objdump -h "$EXE") != *.debug* ]] || fail "the exe has debug sections"
bash "$ROOT_DIR/tests/static/xp_imports.sh" "$EXE" || fail "the exe imports what Windows XP lacks"
[ "$WINDOWS_PRESET" = win32 ] || EXE=$WIN32_BIN/sorrelmark.exe

# The signature of the picture's pixels, T rows below the top of the window (the menu).
shot() { import -silent -window "$(visible "$MAIN")" png:- | convert - -crop "960x540+0+$T" +repage -format '%#' info:; }
# One of the decoded frames; a shot caught while Wine updates the window is taken again.
frame() { for _ in 1 2 3; do s=$(shot) && grep -qx "$s" "$W/frames" && echo "$s" && return; done; fail "not a whole frame"; }

# A file that cannot be opened: its error box comes first, then the viewer starts empty.
# Wine's trace shows what the viewer asks of the system at start: per-monitor DPI awareness
# from shcore.dll loaded by its full path (every DLL the exe loads is), drops let through
# when it runs elevated, and no 1 ms timer while nothing plays.
"$WINE" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ /f /d \
  'kernel32.LoadLibraryA;kernel32.LoadLibraryExA;winmm.timeBeginPeriod;shcore.SetProcessDpiAwareness;user32.ChangeWindowMessageFilterEx' &>/dev/null
M="$W/missing_0001.yuv10" && WINEDEBUG=+relay start "Z:${M//\//\\}"
window Error >/dev/null
[ -z "$(visible "$MAIN")" ] || fail "the main window came before the error box"
key Error Return
quit
for call in 'LoadLibraryA([0-9a-f]* "C:\\\\windows\\\\system32\\\\shcore.dll")' 'SetProcessDpiAwareness(0*2)' \
  'FilterEx(.*,0*233,0*1,' 'FilterEx(.*,0*4a,0*1,' 'FilterEx(.*,0*49,0*1,'; do
  grep -q "Call .*$call" "$W/stderr" || fail "no call $call at start"
done
! grep -a "Call .*LoadLibrary" "$W/stderr" | grep -v '"[A-Z]:\\\\' | grep -q 'ret=004' || fail "a DLL loaded by a bare name"
! grep -q "Call .*timeBeginPeriod" "$W/stderr" || fail "a 1 ms timer asked for with nothing playing"

# Started in the sequence's folder with a bare Japanese name: the command line holds it
# unquoted in code page 932, whose bytes the C runtime's own split took for blanks.
S="$W/seq dir"
mkdir "$S" && "$NATIVE_BIN/make-sequence" --format yuv10 --frames 29 --out "$S/素材_%04d.yuv10" >/dev/null
for f in "$S"/*; do "$NATIVE_BIN/decode-frame" --scale 1 "$f" "$W/${f##*/}.ppm" >/dev/null; done
identify -format '%#\n' "$W"/*.ppm >"$W/frames"
cd "$S" && start 素材_0005.yuv10 && cd - >/dev/null
sleep 1 && import -silent -window "$(window "$MAIN")" "$W/start.png"
T=$(compare -metric AE -subimage-search "$W/start.png" "$W/素材_0005.yuv10.ppm" null: 2>&1 | sed -n 's/^0 @ 0,//p' || true)
[ -n "$T" ] || fail "frame 5 is not shown exactly as decode-frame decodes it"
key "$MAIN" Right && sleep 0.3 && a=$(frame) && sleep 0.3 && b=$(frame)
[ "$a" != "$b" ] && [ "$a" != "$(sed -n 6p "$W/frames")" ] || fail "the right arrow does not play"
key "$MAIN" space && sleep 0.3 && a=$(frame) && sleep 1
[ "$a" = "$(shot)" ] || fail "the picture moves after the space bar"
quit
