#!/usr/bin/env bash
# vexlum.scr under Wine as a user meets it: full screen with glyphs spread across the screen,
# ended by a key or a click but not by the mouse moving, no images left behind, a second
# saver refused (also of several started together), the display taken away and given back
# mid-run, a missing or damaged data pack said in Japanese in a message box, and a seeded run
# drawing the picture the Linux build draws.
source "$(dirname "$0")/common.sh"
make_scr_copy
shots=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$SAVER_DIR" "$shots"' EXIT
rm -rf $(run_folders)  # a killed earlier run's, if any

start_saver() {
  wine "$SAVER" /s "$@" >"$shots/saver.log" 2>&1 &
  SAVER_PID=$!
  SAVER_WINDOW=$(wait_window Vexlum_Main) || fail "$(cat "$shots/saver.log")"
}

# Glyphs spread across the screen; the mouse moving does not end the saver.
start_saver
sleep 5
xdotool mousemove 100 100 sleep 0.3 mousemove 900 600 sleep 0.3
kill -0 "$SAVER_PID" 2>/dev/null || fail "mouse movement ended the saver"
import -window root "$shots/full.png"
expect_spread_glyphs "$shots/full.png"
[ -n "$(run_folders)" ] || fail "no run folder with the images in the user's temporary folder"
[ ! -e "$SAVER_DIR/Vexlum01.png" ] || fail "images extracted beside the program"

# A second saver ends at once, beside the first.
must_end_within 20 wine "$SAVER" /s >/dev/null 2>&1 || fail "a second /s failed"
kill -0 "$SAVER_PID" 2>/dev/null || fail "the second /s ended the first"

# A key ends it cleanly.
press_until_gone "$SAVER_PID" "$SAVER_WINDOW" a
expect_status "$SAVER_PID"
no_run_folders_left

# Savers started together from one folder: exactly one runs, whatever the timing, and a key
# ends it.
for trial in 1 2 3 4 5; do
  pids=()
  for _ in 1 2 3 4; do
    wine "$SAVER" /s --windowed 200x150 >/dev/null 2>&1 &
    pids+=($!)
  done
  window=$(wait_window Vexlum_Main)
  sleep 3
  running=()
  for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && running+=("$pid"); done
  windows=$(xdotool search --name '^Vexlum_Main$' 2>/dev/null | wc -l)
  [ "${#running[@]}" -eq 1 ] && [ "$windows" -eq 1 ] ||
    fail "trial $trial: ${#running[@]} savers and $windows windows of 4 started together"
  press_until_gone "${running[0]}" "$window" a
  for pid in "${pids[@]}"; do expect_status "$pid"; done
  no_run_folders_left
done

# So does a click.
start_saver
sleep 2
xdotool mousemove 700 500 click 1
wait_gone "$SAVER_PID" 15
expect_status "$SAVER_PID"
no_run_folders_left

# A seeded run draws the Linux build's picture: the committed golden one, but for a few
# pixels where two drivers' texture filtering rounds a level apart.
must_end_within 120 wine "$SAVER" /s --windowed 800x600 --seed 7 --frames 400 \
  --screenshot "$shots/seeded.png" >/dev/null 2>&1 || fail "the seeded run failed"
differ=$(compare -metric AE -fuzz 5% "$shots/seeded.png" "$VEXLUM_SOURCE_DIR/tests/golden/default.png" null: 2>&1) || true
[ "$differ" -le 200 ] || fail "the seeded picture differs from Linux's in $differ pixels"
no_run_folders_left

# Another program taking the display away loses the saver's Direct3D device, as on Windows;
# when it comes back the saver sets up everything again, and its last frame is the one a run
# without the loss draws (frames go on being counted meanwhile). Drawn with the device's
# default states instead, that frame is black.
must_end_within 120 wine "$SAVER" /s --seed 7 --frames 400 --screenshot "$shots/calm.png" \
  >/dev/null 2>&1 || fail "the full-screen seeded run failed"
wine "$SAVER" /s --seed 7 --frames 400 --screenshot "$shots/lost.png" >/dev/null 2>&1 &
pid=$!
wait_window Vexlum_Main >/dev/null
sleep 2
wine "$WINDOW_PROBE" takeover Vexlum_Main 2 || fail "the saver ended before the display was taken"
wait_gone "$pid" 120
expect_status "$pid"
differ=$(compare -metric AE "$shots/calm.png" "$shots/lost.png" null: 2>&1) || true
[ "$differ" -le 20 ] || fail "after the display came back the picture differs in $differ pixels"
gt "$(lit_fraction "$shots/lost.png")" 0.005 || fail "no glyphs after the display came back"
no_run_folders_left

# A bad pack is said in a message box (in a Japanese locale, as Wine needs for the text to be
# drawn in a Japanese font), and the saver ends with status 1 once it is dismissed.
expect_pack_message() {  # the message box's text [a screenshot of it]
  LANG=ja_JP.UTF-8 wine "$SAVER" /s >"$shots/pack.log" 2>&1 &
  local pid=$! text
  text=$(wine "$WINDOW_PROBE" text "Vexlum(ScreenSaver)" 30 | tr -d "\r") ||
    fail "no message box appeared"
  [ "$text" = "$1" ] || fail "the message box says: $text"
  if [ -n "${2:-}" ]; then
    sleep 2  # drawn a moment after it is made
    import -window root "$2"
  fi
  kill -0 "$pid" 2>/dev/null || fail "the saver did not wait for the message box"
  wine "$WINDOW_PROBE" ok "Vexlum(ScreenSaver)"
  wait_gone "$pid" 15
  expect_status "$pid" 1
  no_run_folders_left
}
# One flipped byte inside the second picture's compressed data: damaged.
python3 -c 'import sys; b = bytearray(open(sys.argv[1], "rb").read()); b[280058] ^= 0x5A
open(sys.argv[1], "wb").write(b)' "$SAVER_DIR/Vexlum_Data.ppd"
expect_pack_message "ﾌｧｲﾙ (Vexlum_Data.ppd) が壊れています! 再インストールしてください。"

# Without its data pack the saver says so in a message box too.
rm "$SAVER_DIR/Vexlum_Data.ppd"
expect_pack_message "ﾌｧｲﾙ (Vexlum_Data.ppd) が見つかりません!" "$shots/message.png"
[ -z "${VEXLUM_KEEP_SHOTS:-}" ] || cp "$shots"/*.png "$VEXLUM_KEEP_SHOTS/"
echo "windows saver test passed"
