#!/usr/bin/env bash
# Hosted by XScreenSaver: the saver draws into the window it is given (by
# $XSCREENSAVER_WINDOW or -window-id), follows its size, and ends cleanly on SIGTERM.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
make_copy
work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$VX_DIR" "$work"' EXIT

# The test window's own background is white; glyphs are only here and there.
white_fraction() { convert "$1" -colorspace gray -threshold 99% -format '%[fx:mean]' info:; }

run_hosted() {  # how: env or arg
  start_window "XScreenSaver Host" 400 300
  if [ "$1" = env ]; then
    # As the daemon starts its hacks: -root, with its own window named in the environment.
    XSCREENSAVER_WINDOW=$WINDOW_ID "$VX" -root &
  else
    "$VX" -window-id "$WINDOW_ID" &
  fi
  local pid=$!
  sleep 3
  import -window "$WINDOW_ID" "$work/a.png"
  gt "$(lit_fraction "$work/a.png")" 0.002 || fail "$1: no frames in the host window"
  gt 0.01 "$(white_fraction "$work/a.png")" || fail "$1: the host window is not covered"
  xdotool windowsize "$WINDOW_ID" 600 200
  sleep 2
  import -window "$WINDOW_ID" "$work/b.png"
  gt 0.01 "$(white_fraction "$work/b.png")" ||
    fail "$1: the picture did not follow the host's new size"
  xdotool key --window "$WINDOW_ID" a 2>/dev/null || true
  sleep 0.3
  kill -0 "$pid" 2>/dev/null || fail "$1: a key ended the saver; input belongs to the host"
  kill -TERM "$pid"
  wait_gone "$pid" 10
  wait "$pid" || fail "$1: exit status $? after SIGTERM"
  no_images_left
  stop_window
}

run_hosted env
run_hosted arg

# A window id XScreenSaver never writes: said so, nothing opened, status 1.
for bad in garbage 0 012x -5; do
  status=0
  err=$(XSCREENSAVER_WINDOW=$bad must_end_within 10 "$VX" -root 2>&1) || status=$?
  [ "$status" -eq 1 ] && [[ "$err" == *"XSCREENSAVER_WINDOW is not a window id"* ]] ||
    fail "XSCREENSAVER_WINDOW=$bad: status $status, $err"
done
no_images_left
echo "xscreensaver integration: ok"
