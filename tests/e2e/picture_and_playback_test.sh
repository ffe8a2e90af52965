#!/usr/bin/env bash
# The real viewer: the frame named on the command line pixel for pixel, playback with the
# right arrow, the picture held still by the space bar, and Q ending the program with 0.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

FRAMES=60
SEQ="$WORK/seq dir"  # a blank in the path: the viewer gets it in quotes
make_sequence "$SEQ" "$FRAMES"
for ((n = 0; n < FRAMES; n++)); do
  decode_reference "$SEQ/$(printf 'clip_%04d.yuv10' "$n")" "$WORK/ref_$n.ppm"
done

start_viewer "$(windows_path "$SEQ/clip_0005.yuv10")"
WID=$(wait_for_window "$MAIN_TITLE")
sleep 1
screenshot "$WID" "$WORK/start.png"
find_picture_top "$WORK/start.png" "$WORK/ref_5.ppm" ||
  fail "the window does not show frame 5 exactly as decode-frame decodes it"
WIDTH=$(identify -format '%w' "$WORK/start.png")
[ "$WIDTH" = 960 ] || fail "the window is $WIDTH pixels wide, not the picture's 960"
echo "frame 5 shown pixel for pixel, picture top at $PICTURE_TOP"

press "$WID" Right
sleep 0.5
screenshot "$WID" "$WORK/playing1.png"
sleep 0.5
screenshot "$WID" "$WORK/playing2.png"
picture_of "$WORK/playing1.png" "$WORK/p1.png"
picture_of "$WORK/playing2.png" "$WORK/p2.png"
k1=$(frame_shown "$WORK/p1.png" "$WORK/ref_" "$FRAMES")
k2=$(frame_shown "$WORK/p2.png" "$WORK/ref_" "$FRAMES")
echo "playing: frame $k1, then frame $k2"
[ "$k1" -ge 0 ] && [ "$k2" -ge 0 ] || fail "a picture during playback is not a whole decoded frame"
[ "$k1" != 5 ] && [ "$k1" != "$k2" ] || fail "the right arrow did not play the sequence"

press "$WID" space
sleep 0.3
screenshot "$WID" "$WORK/paused1.png"
sleep 1
screenshot "$WID" "$WORK/paused2.png"
picture_of "$WORK/paused1.png" "$WORK/h1.png"
picture_of "$WORK/paused2.png" "$WORK/h2.png"
[ "$(differing_pixels "$WORK/h1.png" "$WORK/h2.png")" = "0" ] || fail "the picture moves after the space bar"
[ "$(frame_shown "$WORK/h1.png" "$WORK/ref_" "$FRAMES")" -ge 0 ] || fail "the paused picture is not a whole frame"

quit_viewer "$WID"
echo "PASS"
