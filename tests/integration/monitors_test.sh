#!/usr/bin/env bash
# The full-screen saver on several monitors, on a private Xephyr whose Xinerama heads lie side
# by side (two landscape, one portrait): a scene on every monitor at that monitor's own size
# (the picture a single screen of that size shows, not one picture stretched over all), each
# with its own seed; one process ending on a key or click on any of them, its music played
# once, nothing left behind; --monitors primary keeping the others black.
source "$(dirname "$0")/common.sh"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=disk
make_copy
work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; stop_heads; rm -rf "$VX_DIR" "$work"' EXIT
export SDL_DISKAUDIOFILE="$work/out.raw"
start_heads 1280x720+0+0 1280x720+1280+0 720x1280+2560+0
heads=("1280x720+0+0" "1280x720+1280+0" "720x1280+2560+0")

# Seeded pictures: the primary's is what a 1280 x 720 window with the same seed shows, the
# portrait monitor's what a 720 x 1280 window with its seed shows, pixel for pixel.
stats=$(must_end_within 120 "$VX" /s --seed 7 --frames 120 --stats \
  --screenshot-all "$work/all.png" 2>/dev/null) || fail "the seeded run failed: $stats"
grep -q '^size: 1280 x 720, 1280 x 720, 720 x 1280$' <<<"$stats" || fail "sizes: $stats"
seeds=$(sed -n 's/^seeds: //p' <<<"$stats")
IFS=', ' read -r -a seed <<<"$seeds"
[ "${#seed[@]}" -eq 3 ] && [ "${seed[0]}" = 7 ] || fail "seeds: $seeds"
[ "${seed[1]}" != 7 ] && [ "${seed[2]}" != 7 ] && [ "${seed[1]}" != "${seed[2]}" ] ||
  fail "monitors share a seed: $seeds"
must_end_within 120 "$VX" /s --windowed 1280x720 --seed 7 --frames 120 \
  --screenshot "$work/single.png" >/dev/null 2>&1 || fail "the windowed run failed"
must_end_within 120 "$VX" /s --windowed 720x1280 --seed "${seed[2]}" --frames 120 \
  --screenshot "$work/portrait.png" >/dev/null 2>&1 || fail "the portrait run failed"
for pair in "all.png single.png" "all-3.png portrait.png"; do
  read -r a b <<<"$pair"
  differ=$(compare -metric AE "$work/$a" "$work/$b" null: 2>&1) || true
  [ "$differ" = 0 ] || fail "$a differs from the single screen's $b in $differ pixels"
done
differ=$(compare -metric AE "$work/all.png" "$work/all-2.png" null: 2>&1) || true
gt "$differ" 10000 || fail "the two landscape monitors show the same picture"
[ "$(identify -format '%wx%h' "$work/all-3.png")" = 720x1280 ] || fail "portrait size"

# A live saver with music: every head lit, and a key on the second monitor ends them all.
sox -n -r 44100 -c 2 "$work/tone.wav" synth 0.5 sine 440 vol 0.5
printf '[Section]\nBGM区分=2\nBGMﾘﾋﾟｰﾄ=0\nBGMﾌｧｲﾙ=%s\n' "$work/tone.wav" >"$VX_DIR/Vexlum.ini"
"$VX" /s 2>/dev/null &
pid=$!
main=$(wait_window Vexlum_Main)
sleep 4
xdotool search --onlyvisible --name '^Vexlum_Screen$' >"$work/screens"
[ "$(wc -l <"$work/screens")" -eq 2 ] || fail "expected two more windows: $(cat "$work/screens")"
[ "$(xdotool search --name '^Vexlum_Main$' | wc -l)" -eq 1 ] || fail "more than one main window"
import -window root "$work/root.png"
for h in "${heads[@]}"; do
  gt "$(lit_fraction "$work/root.png" "$h")" 0.002 || fail "head $h shows no glyphs"
done
# A monitor going away: a window manager moves its window onto a smaller monitor. The saver
# goes on, that picture drawn at the window's new size.
third=$(tail -n1 "$work/screens")
xdotool windowsize "$third" 360 640
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the saver ended when a window was resized"
import -window "$third" "$work/moved.png"
[ "$(identify -format '%wx%h' "$work/moved.png")" = 360x640 ] || fail "the window was not resized"
gt "$(lit_fraction "$work/moved.png")" 0.002 || fail "nothing drawn after the resize"
second=$(head -n1 "$work/screens")
xdotool windowfocus --sync "$second" key a
wait_gone "$pid" 10
wait "$pid" || fail "the saver ended with status $?"
[ -z "$(xdotool search --name '^Vexlum' 2>/dev/null)" ] || fail "a window stayed"
no_images_left
# The tone at half volume: two players mixed would go over it, none would leave silence.
peak=$(od -An -v -td2 -w2 "$SDL_DISKAUDIOFILE" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
[ "$peak" -gt 12000 ] && [ "$peak" -lt 20000 ] || fail "music peak $peak: not one player"
rm -f "$VX_DIR/Vexlum.ini"

# A click on the portrait monitor ends the saver too.
"$VX" /s 2>/dev/null &
pid=$!
wait_window Vexlum_Main >/dev/null
sleep 1
xdotool mousemove 2900 600 sleep 0.3 click 1
wait_gone "$pid" 10
wait "$pid" || fail "the saver ended with status $?"

# --monitors primary: the scene on the primary monitor, the others black.
"$VX" /s --monitors primary 2>/dev/null &
pid=$!
wait_window Vexlum_Main >/dev/null
sleep 3
import -window root "$work/primary.png"
gt "$(lit_fraction "$work/primary.png" "${heads[0]}")" 0.002 || fail "the primary shows nothing"
for h in "${heads[@]:1}"; do
  [ "$(lit_fraction "$work/primary.png" "$h")" = 0 ] || fail "head $h is not black"
done
xdotool key a
wait_gone "$pid" 10
wait "$pid" || fail "the saver ended with status $?"
no_images_left
stop_heads

# Where RandR knows the primary head as an output, the window there is made full screen the
# window manager's way; the other head's window is laid over it: both show a scene.
start_heads --randr 1280x720+0+0 1280x720+1280+0
"$VX" /s 2>/dev/null &
pid=$!
wait_window Vexlum_Main >/dev/null
sleep 3
import -window root "$work/randr.png"
for h in 1280x720+0+0 1280x720+1280+0; do
  gt "$(lit_fraction "$work/randr.png" "$h")" 0.002 || fail "head $h shows no glyphs (RandR)"
done
xdotool key a
wait_gone "$pid" 10
wait "$pid" || fail "the saver ended with status $?"
no_images_left
echo "PASS: a scene per monitor at its own size and seed, one saver, ended from any monitor"
