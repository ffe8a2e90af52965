#!/usr/bin/env bash
# The real viewer driven from the keyboard through its menu: full size chosen while
# playing shows the current frame pixel for pixel at 1920 x 1080 from the next tick on,
# and the about box opens from the Help menu and closes with Escape.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

FRAMES=7  # prime: a picture that still moved would rarely come round to the same frame
SEQ="$WORK/seq"
make_sequence "$SEQ" "$FRAMES"
decode_reference "$SEQ/clip_0000.yuv10" "$WORK/half_0.ppm"
for ((n = 0; n < FRAMES; n++)); do
  "$NATIVE_BIN/decode-frame" --scale 0 "$SEQ/$(printf 'clip_%04d.yuv10' "$n")" "$WORK/full_$n.ppm" >/dev/null
done

start_viewer "$(windows_path "$SEQ/clip_0000.yuv10")"
WID=$(wait_for_window "$MAIN_TITLE")
sleep 1
screenshot "$WID" "$WORK/half.png"
find_picture_top "$WORK/half.png" "$WORK/half_0.ppm" || fail "the half-size start picture is not frame 0"

# Playing, then Screen size > Full size by the menu's access keys: the step drops to 0
# but the timer keeps decoding the current frame, now at full size.
press "$WID" Right
sleep 0.3
press "$WID" alt+s
sleep 0.5
press "$WID" n
sleep 1.5
screenshot "$WID" "$WORK/full.png"
WIDTH=$(identify -format '%w' "$WORK/full.png")
[ "$WIDTH" = 1920 ] || fail "after Full size the window is $WIDTH pixels wide, not 1920"
convert "$WORK/full.png" -crop "1920x1080+0+$PICTURE_TOP" +repage "$WORK/full_picture.png"
shown=$(frame_shown "$WORK/full_picture.png" "$WORK/full_" "$FRAMES")
[ "$shown" -ge 0 ] || fail "the full-size picture is not a frame as decode-frame --scale 0 decodes it"
sleep 0.5
screenshot "$WID" "$WORK/full_later.png"
convert "$WORK/full_later.png" -crop "1920x1080+0+$PICTURE_TOP" +repage "$WORK/full_picture_later.png"
[ "$(differing_pixels "$WORK/full_picture.png" "$WORK/full_picture_later.png")" = "0" ] ||
  fail "the picture still moves after the size change paused playback"
echo "full size shows frame $shown pixel for pixel and stays on it"

# Help > About..., then Escape.
press "$WID" alt+h
sleep 0.5
press "$WID" a
ABOUT=$(wait_for_window "About")
sleep 0.5
press "$ABOUT" Escape
for ((i = 0; i < 50; i++)); do
  is_visible "About" || break
  sleep 0.1
done
is_visible "About" && fail "Escape did not close the about box"
echo "about box opened from the Help menu and closed by Escape"

quit_viewer "$WID"
echo "PASS"
