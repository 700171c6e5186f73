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

# Runs the saver in a host window the host destroys after $1 seconds; sets STATUS to how the
# saver ended. Nothing may be left behind either way.
host_goes_after() {
  start_window "Going Host" 300 200
  "$VX" -window-id "$WINDOW_ID" 2>"$work/err" &
  local pid=$!
  sleep "$1"
  stop_window
  wait_gone "$pid" 10
  STATUS=0
  wait "$pid" || STATUS=$?
  no_images_left
}

# The host destroying its window (another entry chosen in xscreensaver-settings) ends the
# saver as SIGTERM would: status 0, no X error.
for wait in 1 3; do
  host_goes_after "$wait"
  [ "$STATUS" -eq 0 ] || fail "host gone after ${wait}s: status $STATUS: $(cat "$work/err")"
  ! grep -q "X Error\|X error" "$work/err" || fail "host gone: $(cat "$work/err")"
done
# ...and so does it while the saver is still starting, making its window and GL context:
# never a crash, and nothing said. (Gone before the saver first looked, the window is one
# that does not exist: said so, status 1.)
for wait in 0.05 0.1 0.15 0.2 0.3; do
  host_goes_after "$wait"
  case "$STATUS" in
    0) [ ! -s "$work/err" ] || fail "host gone at start (${wait}s) said: $(cat "$work/err")" ;;
    1) grep -q "does not exist" "$work/err" ||
         fail "host gone at start (${wait}s): status 1: $(cat "$work/err")" ;;
    *) fail "host gone at start (${wait}s): status $STATUS: $(cat "$work/err")" ;;
  esac
done

# A window id that names no window: said on stderr, status 1, no window and no message box
# waiting for a click.
status=0
err=$(must_end_within 20 "$VX" --window-id 12345 2>&1) || status=$?
[ "$status" -eq 1 ] && [[ "$err" == *"12345"* ]] || fail "bad --window-id: status $status, $err"
[ -z "$(xdotool search --name '^Vexlum' 2>/dev/null)" ] || fail "bad --window-id opened a window"

# XScreenSaver runs one saver per monitor: one plays the music, and the pictures differ.
sox -n -r 22050 -c 1 "$work/tone.wav" synth 20 sine 440 2>/dev/null
start_window "Monitor One" 300 200
one=$WINDOW_ID one_pid=$WINDOW_PID
start_window "Monitor Two" 300 200
pids=()
for n in 1 2; do
  window=$one
  [ "$n" = 2 ] && window=$WINDOW_ID
  XSCREENSAVER_WINDOW=$window SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio$n.raw" \
    "$VX" -root --music "$work/tone.wav" 2>/dev/null &
  pids+=($!)
done
sleep 4
import -window "$one" "$work/one.png"
import -window "$WINDOW_ID" "$work/two.png"
kill -TERM "${pids[@]}"
for pid in "${pids[@]}"; do wait_gone "$pid" 10; done
outputs=$(find "$work" -name 'audio*.raw' | wc -l)
[ "$outputs" -eq 1 ] || fail "$outputs savers opened an audio output, not 1"
[ "$(compare -metric AE "$work/one.png" "$work/two.png" null: 2>&1 || true)" != 0 ] ||
  fail "both monitors show the same picture"
stop_window
kill "$one_pid" 2>/dev/null || true
no_images_left
echo "xscreensaver integration: ok"
