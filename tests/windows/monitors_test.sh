#!/usr/bin/env bash
# vexlum.scr on several monitors under Wine, on a private Xephyr whose Xinerama heads lie side
# by side (two landscape, one portrait): a scene on every monitor at its own size and with its
# own seed, the picture a single screen of that size shows; one saver that a key on any
# monitor ends, playing its music once and leaving nothing behind; --monitors primary keeping
# the others black. Wine reads the monitors when it starts its display: the test runs with a
# Wine server of its own and stops it again.
source "$(dirname "$0")/common.sh"
make_scr_copy
work=$(mktemp -d)
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
trap 'pkill -P $$ 2>/dev/null || true; wineserver -k 2>/dev/null || true; stop_heads
  rm -rf "$SAVER_DIR" "$work"' EXIT
start_heads 1280x720+0+0 1280x720+1280+0 720x1280+2560+0
heads=("1280x720+0+0" "1280x720+1280+0" "720x1280+2560+0")
rm -rf $(run_folders)

# Seeded pictures beside single-screen runs of the same sizes and seeds.
stats=$(must_end_within 180 wine "$SAVER" /s --seed 7 --frames 120 --stats \
  --screenshot-all "$(winepath -w "$work/all.png")" 2>/dev/null | tr -d '\r') ||
  fail "the seeded run failed: $stats"
grep -q '^size: 1280 x 720, 1280 x 720, 720 x 1280$' <<<"$stats" || fail "sizes: $stats"
IFS=', ' read -r -a seed <<<"$(sed -n 's/^seeds: //p' <<<"$stats")"
[ "${#seed[@]}" -eq 3 ] && [ "${seed[0]}" = 7 ] && [ "${seed[1]}" != "${seed[2]}" ] ||
  fail "seeds: ${seed[*]}"
must_end_within 180 wine "$SAVER" /s --windowed 1280x720 --seed 7 --frames 120 \
  --screenshot "$(winepath -w "$work/single.png")" >/dev/null 2>&1 || fail "windowed run"
must_end_within 180 wine "$SAVER" /s --windowed 720x1280 --seed "${seed[2]}" --frames 120 \
  --screenshot "$(winepath -w "$work/portrait.png")" >/dev/null 2>&1 || fail "portrait run"
for pair in "all.png single.png" "all-3.png portrait.png"; do
  read -r a b <<<"$pair"
  differ=$(compare -metric AE -fuzz 5% "$work/$a" "$work/$b" null: 2>&1) || true
  [ "$differ" -le 20 ] || fail "$a differs from the single screen's $b in $differ pixels"
done
differ=$(compare -metric AE "$work/all.png" "$work/all-2.png" null: 2>&1) || true
gt "$differ" 10000 || fail "the two landscape monitors show the same picture"
no_run_folders_left

# A live saver with music (written by ALSA's file plugin): every monitor lit, one player, and
# a key on the second monitor ends them all.
# 16-bit samples at a fixed rate, so that the tone's peak can be read: one player gives its
# half volume, two mixed would give twice that.
cat >"$work/.asoundrc" <<ALSA
pcm.!default {
  type plug
  slave { pcm "tofile" format S16_LE rate 44100 channels 2 }
}
pcm.tofile {
  type file
  slave.pcm "null"
  file "$work/out.raw"
  format "raw"
}
ALSA
sox -n -r 44100 -c 2 "$work/tone.wav" synth 0.5 sine 440 vol 0.5
tone=$(winepath -w "$work/tone.wav")
settings_file "[Section]\r\nBGM区分=2\r\nBGMﾌｧｲﾙ=${tone//\\/\\\\}\r\n"
HOME=$work wine "$SAVER" /s >"$work/saver.log" 2>&1 &
pid=$!
wait_window Vexlum_Main >/dev/null
sleep 5
screens=$(xdotool search --onlyvisible --name '^Vexlum_Screen$' 2>/dev/null)
[ "$(wc -w <<<"$screens")" -eq 2 ] || fail "expected two more windows, found: $screens"
import -window root "$work/root.png"
for h in "${heads[@]}"; do
  gt "$(lit_fraction "$work/root.png" "$h")" 0.002 || fail "monitor $h shows no glyphs"
done
press_until_gone "$pid" "$(head -n1 <<<"$screens")" a
expect_status "$pid"
no_run_folders_left
peak=$(od -An -v -td2 -w2 "$work/out.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
[ "$peak" -gt 12000 ] && [ "$peak" -lt 20000 ] || fail "music peak $peak: not one player"
rm -f "$SAVER_DIR/Vexlum.ini"

# --monitors primary: the scene on the primary monitor, the others black.
wine "$SAVER" /s --monitors primary >/dev/null 2>&1 &
pid=$!
window=$(wait_window Vexlum_Main)
sleep 4
import -window root "$work/primary.png"
gt "$(lit_fraction "$work/primary.png" "${heads[0]}")" 0.002 || fail "the primary shows nothing"
for h in "${heads[@]:1}"; do
  [ "$(lit_fraction "$work/primary.png" "$h")" = 0 ] || fail "monitor $h is not black"
done
press_until_gone "$pid" "$window" a
expect_status "$pid"
no_run_folders_left
echo "PASS: a scene per monitor under Wine, one saver, ended from any monitor"
