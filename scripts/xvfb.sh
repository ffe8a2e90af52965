# Sourced by the scripts: start_xvfb [WxH] starts a private Xvfb on a free display, with a
# screen of 2560 x 1600 unless told otherwise, and exports DISPLAY; stop_xvfb ends it by its
# process id.
XVFB_PID=""
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${1:-2560x1600}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local display
  read -r -t 30 display <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$display" ]; then
    echo "xvfb: could not start a virtual display" >&2
    return 1
  fi
  export DISPLAY=":$display"
}
stop_xvfb() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
