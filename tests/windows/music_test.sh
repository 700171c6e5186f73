#!/usr/bin/env bash
# Music under Wine through winmm: an MP3 file (command strings, polled and replayed every
# second) and a WAV file (the looping sound player) really produce samples, written by ALSA's
# file plugin; a missing or hostile file and a file name outside the system code page leave
# the saver running and ending cleanly.
source "$(dirname "$0")/common.sh"
make_scr_copy
work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$SAVER_DIR" "$work"' EXIT

# Wine plays through ALSA's default device; this one writes what it gets to a file instead
# of a sound card (there is none here). Wine reads ~/.asoundrc, so HOME is the test's own.
cat >"$work/.asoundrc" <<ALSA
pcm.!default {
  type file
  slave.pcm "null"
  file "$work/out.raw"
  format "raw"
}
ALSA
export HOME=$work

sox -n -r 44100 -c 2 "$work/tone.wav" synth 0.5 sine 440 vol 0.5
sox -n -r 44100 -c 2 "$work/tone.mp3" synth 0.5 sine 660 vol 0.5
cp "$work/tone.mp3" "$work/曲 ♪.mp3"

# Loud 16-bit samples in what the saver played.
audible_samples() {
  [ -f "$work/out.raw" ] || { echo 0; return; }
  od -An -v -td2 -w2 "$work/out.raw" | awk '$1 > 1000 || $1 < -1000 { n++ } END { print n + 0 }'
}

# Runs the saver with the music file $1 for $2 seconds, then ends it with a key. The file's
# name is stored as UTF-8, as the settings dialog stores it, or with $3 = cp932 in Shift_JIS
# as an older program stored it on a Japanese system (and the saver then runs on one).
play() {
  rm -f "$work/out.raw"
  local name locale=${LANG:-C}
  name=$(winepath -w "$1" 2>/dev/null)  # as a Windows program names it
  { printf '[Section]\r\nBGM区分=2\r\nBGMﾌｧｲﾙ=' | iconv -f utf-8 -t cp932
    printf '%s\r\n' "$name" | iconv -f utf-8 -t "${3:-utf-8}"
  } >"$SAVER_DIR/Vexlum.ini"
  [ "${3:-}" = cp932 ] && locale=ja_JP.UTF-8
  LANG=$locale wine "$SAVER" /s --windowed 320x240 >"$work/saver.log" 2>&1 &
  local pid=$!
  local window
  window=$(wait_window Vexlum_Main)
  sleep "$2"
  kill -0 "$pid" 2>/dev/null || fail "the saver ended while playing $1: $(cat "$work/saver.log")"
  press_until_gone "$pid" "$window" space
  expect_status "$pid"
  no_run_folders_left
}

play "$work/tone.mp3" 4
n=$(audible_samples)
# Three seconds of play hold at least two replays of the half-second file.
[ "$n" -gt 44100 ] || fail "the MP3 file did not play and replay ($n loud samples)"

play "$work/tone.wav" 3
n=$(audible_samples)
[ "$n" -gt 44100 ] || fail "the WAV file did not play and loop ($n loud samples)"

play "$work/曲 ♪.mp3" 3
n=$(audible_samples)
[ "$n" -gt 22050 ] || fail "an MP3 file named outside the code page did not play ($n)"

play "$work/曲 ♪.mp3" 3 cp932
n=$(audible_samples)
[ "$n" -gt 22050 ] || fail "an MP3 file named in Shift_JIS did not play ($n)"

play "$work/missing.mp3" 2

# Files whose headers crash a decoder (kept from the fuzzer): never handed to the sound
# player, through the settings file or --music; the saver runs silently, ending cleanly.
seeds=$VEXLUM_SOURCE_DIR/tests/fuzz/corpus_music_file_fuzz
tail -c +2 "$seeds/no-channels" >"$work/no-channels.wav"
tail -c +2 "$seeds/huge-rate-named-mp3" >"$work/huge-rate.mp3"
for file in "$work/no-channels.wav" "$work/huge-rate.mp3"; do
  play "$file" 2
  [ "$(audible_samples)" -eq 0 ] || fail "$file was played"
  rm -f "$SAVER_DIR/Vexlum.ini"
  must_end_within 120 wine "$SAVER" /s --windowed 320x240 --frames 20 \
    --music "$(winepath -w "$file")" >/dev/null 2>&1 || fail "$file: exit status $? with --music"
  no_run_folders_left
done
echo "windows music test passed"
