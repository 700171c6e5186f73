#!/usr/bin/env bash
# Start-up against a real X server: the single-instance test and the silent modes.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"

for arg in /a x /; do
  out=$(must_end_within 5 "$VEXLUM" "$arg" 2>&1) || fail "vexlum $arg exited non-zero"
  [ -z "$out" ] || fail "vexlum $arg printed: $out"
done

for caption in "Vexlum_Main" "Vexlum(Screen Saver)の設定"; do
  start_window "$caption"
  for arg in /c /s; do
    out=$(must_end_within 5 "$VEXLUM" "$arg" 2>&1) || fail "vexlum $arg beside '$caption' failed"
    [ -z "$out" ] || fail "vexlum $arg beside '$caption' printed: $out"
  done
  stop_window
done
# Savers started together from one folder: exactly one runs, whatever the timing.
make_copy
work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$VX_DIR" "$work"' EXIT
for trial in 1 2 3 4 5; do
  pids=()
  for _ in 1 2 3 4; do
    "$VX" /s --windowed 200x150 >/dev/null 2>&1 &
    pids+=($!)
  done
  wait_window Vexlum_Main >/dev/null
  sleep 2
  running=()
  for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && running+=("$pid"); done
  windows=$(xdotool search --name '^Vexlum_Main$' 2>/dev/null | wc -l)
  [ "${#running[@]}" -eq 1 ] && [ "$windows" -eq 1 ] ||
    fail "trial $trial: ${#running[@]} savers and $windows windows of 4 started together"
  kill -TERM "${running[@]}"
  for pid in "${pids[@]}"; do
    wait "$pid" || fail "trial $trial: a saver ended with status $?"
  done
  no_images_left
done

# The settings dialog opens at its size. With it open, a saver of our own ends at once, but
# XScreenSaver's savers in its own windows draw: the host decides how many run.
"$VX" /c >/dev/null 2>&1 &
dialog=$!
xwininfo -id "$(wait_window 'Vexlum\(Screen Saver\)の設定')" | grep -q "Width: 451" ||
  fail "the settings dialog is not 451 pixels wide"
out=$(must_end_within 10 "$VX" /s 2>&1) || fail "/s beside the dialog failed"
[ -z "$out" ] || fail "/s beside the dialog printed: $out"
start_window "XScreenSaver" 320 240
stats=$(XSCREENSAVER_WINDOW=$WINDOW_ID must_end_within 60 "$VX" -root --frames 40 --stats) ||
  fail "a hosted saver beside the dialog failed"
grep -q "frames drawn: 40$" <<<"$stats" || fail "a hosted saver beside the dialog: $stats"
stats=$(must_end_within 60 "$VX" -window-id "$WINDOW_ID" --frames 5 --stats) ||
  fail "-window-id beside the dialog failed"
grep -q "frames drawn: 5$" <<<"$stats" || fail "-window-id beside the dialog: $stats"
stop_window
kill "$dialog"
wait "$dialog" 2>/dev/null || true
no_images_left

# After the mode, anything not ours is named, followed by the usage: status 2, nothing run.
for args in "/s --bogus" "/s extra" "-root --columns" "--atlas nope" "--delay 1e3" "--bogus" \
  "--colums 150"; do
  status=0
  # shellcheck disable=SC2086
  err=$(must_end_within 5 "$VEXLUM" $args 2>&1) || status=$?
  [ "$status" -eq 2 ] && [ "$(printf '%s\n' "$err" | head -n1 | grep -c '^vexlum: ')" = 1 ] ||
    fail "vexlum $args: status $status, $err"
done
# An unknown option is named, and the usage follows; so is a misspelt one in the first place,
# where a host's request stands: it names the word that is wrong, never the one after it.
for case in "/s --bogus|--bogus" "--bogus|--bogus" "--colums 150|--colums" "-fullscreen|-fullscreen"; do
  args=${case%|*}
  # shellcheck disable=SC2086
  [[ "$("$VEXLUM" $args 2>&1)" == *"unknown option '${case#*|}'"*"Usage: vexlum"* ]] ||
    fail "vexlum $args: $("$VEXLUM" $args 2>&1 | head -n1)"
done

# -fps draws its display in the bottom-left corner, over the same picture.
for fps in "" -fps; do
  # shellcheck disable=SC2086
  env -u DISPLAY "$VX" $fps --windowed 640x480 --seed 5 --frames 30 \
    --screenshot "$work/shot$fps.png" >/dev/null || fail "run ${fps:-without -fps} failed"
done
convert "$work/shot.png" "$work/shot-fps.png" -compose difference -composite "$work/diff.png"
gt "$(lit_fraction "$work/diff.png" 200x60+0+420)" 0.05 || fail "-fps drew no display"
[ "$(lit_fraction "$work/diff.png" 640x400+0+0)" = 0 ] || fail "-fps changed the picture"
no_images_left
echo "startup integration: ok"
