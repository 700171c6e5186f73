#!/usr/bin/env bash
# The saver as a user meets it: full screen under X, ended by a key or a click but not by
# the mouse moving, ending cleanly on SIGTERM, leaving no files.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
make_copy
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$VX_DIR"' EXIT
shots=$(mktemp -d)

start_saver() {
  "$VX" /s "$@" &
  SAVER_PID=$!
  wait_window Vexlum_Main >/dev/null
}
end_status() {
  wait_gone "$SAVER_PID" 10
  local status=0
  wait "$SAVER_PID" || status=$?
  [ "$status" -eq 0 ] || fail "saver exited with status $status"
}

# Glyphs spread across the screen after a few seconds; the mouse moving does not end it.
start_saver --seed 5
sleep 4
xdotool mousemove 100 100 sleep 0.3 mousemove 900 600 sleep 0.3
kill -0 "$SAVER_PID" 2>/dev/null || fail "mouse movement ended the saver"
import -window root "$shots/full.png"
expect_spread_glyphs "$shots/full.png"
ls "$XDG_RUNTIME_DIR"/vexlum-*/Vexlum01.png >/dev/null 2>&1 || fail "images not extracted into a run folder"
[ ! -e "$VX_DIR/Vexlum01.png" ] || fail "images extracted beside the program"

# A second saver and the settings dialog refuse to start beside it.
out=$(must_end_within 5 "$VX" /s 2>&1) || fail "a second /s failed"
out+=$(must_end_within 5 "$VX" /c 2>&1) || fail "/c beside the saver failed"
[ -z "$out" ] || fail "second instance printed: $out"

xdotool key a
end_status
no_images_left

# A click ends it too.
start_saver
sleep 1
xdotool mousemove 500 500 click 1
end_status
no_images_left
start_saver  # and clicked the moment it shows: the click that focuses it counts too
xdotool mousemove 600 400 click 1
end_status
no_images_left

# SIGTERM ends it as a key would.
start_saver
sleep 1
kill -TERM "$SAVER_PID"
end_status
no_images_left

# Failures a user can meet end with a message (a box they close, and stderr) and status 1,
# leaving no files behind: a missing pack, a damaged one, a device that cannot be made.
expect_message_and_failure() {  # what; then the command
  local what=$1
  shift
  "$@" 2>"$shots/err.txt" &
  local pid=$!
  local box
  box=$(wait_window 'Vexlum\(ScreenSaver\)')
  # The box may not take keys yet when it first appears: press OK until it is gone.
  for _ in $(seq 40); do
    kill -0 "$pid" 2>/dev/null || break
    xdotool key --window "$box" Return 2>/dev/null || true
    sleep 0.25
  done
  # xdotool dies when the box vanishes between press and release: release the key here.
  xdotool keyup Return 2>/dev/null || true
  wait_gone "$pid" 10
  local status=0
  wait "$pid" || status=$?
  [ "$status" -eq 1 ] || fail "$what: status $status, not 1"
  grep -q 'Vexlum(ScreenSaver)' "$shots/err.txt" || fail "$what: no message on stderr"
  no_images_left
}
mv "$VX_DIR/Vexlum_Data.ppd" "$shots/pack"
expect_message_and_failure "missing pack" "$VX" /s
head -c 500000 "$shots/pack" >"$VX_DIR/Vexlum_Data.ppd"
expect_message_and_failure "short pack" "$VX" /s
head -c 891816 /dev/urandom >"$VX_DIR/Vexlum_Data.ppd"
expect_message_and_failure "pack of garbage" "$VX" /s
# One flipped byte inside the second picture's compressed data: the pictures' headers and
# sizes are right, only their checksums tell.
python3 -c 'import sys; b = bytearray(open(sys.argv[1], "rb").read()); b[280058] ^= 0x5A
open(sys.argv[2], "wb").write(b)' "$shots/pack" "$VX_DIR/Vexlum_Data.ppd"
expect_message_and_failure "pack with a flipped byte" "$VX" /s
grep -q 'is damaged' "$shots/err.txt" || fail "a flipped byte is not called damage"
# The same in a Japanese locale: the message as designed.
expect_message_and_failure "pack with a flipped byte" env LANG=ja_JP.UTF-8 "$VX" /s
grep -q '壊れています' "$shots/err.txt" || fail "a flipped byte is not called damage in Japanese"
mv "$shots/pack" "$VX_DIR/Vexlum_Data.ppd"
expect_message_and_failure "no OpenGL 3.3" env MESA_GL_VERSION_OVERRIDE=2.1 "$VX" /s

# SIGTERM while the box waits for the user still ends the program and cleans up.
MESA_GL_VERSION_OVERRIDE=2.1 "$VX" /s 2>/dev/null &
pid=$!
wait_window 'Vexlum\(ScreenSaver\)' >/dev/null
kill -TERM "$pid"
wait_gone "$pid" 10
no_images_left

# Savers sharing a program folder, as a host runs one per monitor, started close together:
# each runs on its own images.
for n in 2 4; do
  pids=()
  for i in $(seq "$n"); do
    env -u DISPLAY "$VX" /s --frames 40 --seed "$i" >/dev/null 2>"$shots/err$i.txt" &
    pids+=($!)
    sleep "0.0$((RANDOM % 9 + 1))"
  done
  for i in $(seq "$n"); do
    wait "${pids[$((i - 1))]}" || fail "$n savers in one folder: run $i failed: $(cat "$shots/err$i.txt")"
  done
  no_images_left
done

# A screenshot that cannot be written is a failed run.
status=0
env -u DISPLAY "$VX" /s --frames 3 --screenshot /nonexistent/folder/a.png >/dev/null 2>&1 ||
  status=$?
[ "$status" -eq 1 ] || fail "an unwritable screenshot ended with status $status"

# A run killed outright leaves its folder; the next run reclaims it.
env -u DISPLAY "$VX" /s --frames 100000 --uncapped >/dev/null 2>&1 &
pid=$!
for _ in $(seq 100); do ls "$XDG_RUNTIME_DIR"/vexlum-*/Vexlum02.png >/dev/null 2>&1 && break; sleep 0.1; done
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
ls -d "$XDG_RUNTIME_DIR"/vexlum-* >/dev/null 2>&1 || fail "the killed run left no folder to reclaim"
env -u DISPLAY "$VX" /s --frames 3 >/dev/null || fail "the run after a killed one failed"
no_images_left

# A FIFO named as the pack is neither opened nor waited on.
mv "$VX_DIR/Vexlum_Data.ppd" "$shots/pack"
mkfifo "$VX_DIR/Vexlum_Data.ppd"
status=0
must_end_within 20 env -u DISPLAY "$VX" /s --frames 3 >/dev/null 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "a FIFO as the pack: status $status"
rm "$VX_DIR/Vexlum_Data.ppd"
mv "$shots/pack" "$VX_DIR/Vexlum_Data.ppd"

# Without a display and without --frames (which renders off-screen: the golden pictures), a
# clear refusal.
status=0
err=$(env -u DISPLAY "$VX" /s 2>&1) || status=$?
[ "$status" -eq 1 ] && [[ "$err" == *"needs a display"* ]] || fail "no display: $status, $err"
rm -rf "$shots"
echo "saver integration: ok"
