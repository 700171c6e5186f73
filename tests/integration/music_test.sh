#!/usr/bin/env bash
# The saver with each music source, through SDL's disk audio driver: the music really plays,
# the arrow keys change CD tracks, a key ends it cleanly; a missing, broken or hostile file, a
# path with a double quote and no audio device leave it running silently.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=disk
make_copy
work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$VX_DIR" "$work"' EXIT
export SDL_DISKAUDIOFILE="$work/out.raw"

sox -n -r 44100 -c 2 "$work/tone.wav" synth 0.5 sine 440 vol 0.5
sox -n -r 44100 -c 2 "$work/tone.mp3" synth 0.5 sine 660 vol 0.5
cp "$work/tone.mp3" "$work/quo\"te.mp3"
head -c 20000 /dev/urandom >"$work/broken.mp3"
: >"$work/disc.bin"
cue='FILE "disc.bin" BINARY'$'\n'
for t in 1 2 3; do
  sox -n -r 44100 -c 2 -b 16 -e signed -L -t raw "$work/t$t.raw" synth 1 sine $((100 + 200 * t)) vol 0.5
  cat "$work/t$t.raw" >>"$work/disc.bin"
  cue+="  TRACK 0$t AUDIO"$'\n'"    INDEX 01 00:0$((t - 1)):00"$'\n'
done
printf '%s' "$cue" >"$work/disc.cue"

settings() {  # source, file, repeat
  printf '[Section]\nBGM区分=%s\nBGMﾘﾋﾟｰﾄ=%s\nBGMﾌｧｲﾙ=%s\n' "$1" "${3:-0}" "$2" >"$VX_DIR/Vexlum.ini"
}

# Seconds of audible output the saver wrote (16-bit samples, any rate).
audible_bytes() {
  [ -f "$SDL_DISKAUDIOFILE" ] || { echo 0; return; }
  od -An -v -td2 -w2 "$SDL_DISKAUDIOFILE" | awk '$1 > 1000 || $1 < -1000 { n++ } END { print n + 0 }'
}

# Runs the saver for $1 seconds, sends the keys in $2 meanwhile, then ends it with a key.
run_saver() {
  rm -f "$SDL_DISKAUDIOFILE"
  "$VX" /s &
  local pid=$!
  wait_window Vexlum_Main >/dev/null
  sleep "$1"
  for k in ${2:-}; do
    xdotool key "$k"
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || fail "key $k ended the saver"
  done
  xdotool key space
  wait_gone "$pid" 10
  wait "$pid" || fail "saver exited with status $?"
  no_images_left
}

settings 2 "$work/tone.wav"
run_saver 2
[ "$(audible_bytes)" -gt 44100 ] || fail "the WAV file did not play (and loop)"

settings 2 "$work/tone.mp3"
run_saver 3
[ "$(audible_bytes)" -gt 44100 ] || fail "the MP3 file did not play"

settings 1 "" 2
VEXLUM_CD_DEVICE="$work/disc.cue" run_saver 1 "Right Left"
[ "$(audible_bytes)" -gt 44100 ] || fail "the disc did not play"

for file in "$work/missing.mp3" "$work/broken.mp3" "$work/quo\"te.mp3"; do
  settings 2 "$file"
  run_saver 1
done
[ "$(audible_bytes)" -eq 0 ] || fail "a file with a double quote in its path was played"

# Files whose headers crash the mixer's decoder (a WAV of no channels; one of a billion hertz
# under an MP3 name), kept from the fuzzer: never decoded, through the settings file or
# --music, on screen or off; the saver runs silently and leaves nothing behind.
seeds=$VEXLUM_SOURCE_DIR/tests/fuzz/corpus_music_file_fuzz
tail -c +2 "$seeds/no-channels" >"$work/no-channels.wav"
tail -c +2 "$seeds/huge-rate-named-mp3" >"$work/huge-rate.mp3"
for file in "$work/no-channels.wav" "$work/huge-rate.mp3"; do
  settings 2 "$file"
  run_saver 1
  rm -f "$VX_DIR/Vexlum.ini"
  must_end_within 60 env -u DISPLAY "$VX" --frames 20 --music "$file" >/dev/null 2>"$work/err" ||
    fail "$file: exit status $? with --music"
  grep -q "playing no music" "$work/err" || fail "$file: --music did not say why it is silent"
  no_images_left
done
[ "$(audible_bytes)" -eq 0 ] || fail "a file the mixer cannot take was played"

settings 2 "$work/tone.wav"
SDL_AUDIODRIVER=no-such-driver run_saver 1

# A FIFO, or a link to an endless device, named as the music file: never opened, never waited
# on; the saver runs silently and the dialog opens.
mkfifo "$work/fifo.wav"
ln -s /dev/zero "$work/zero.wav"
for file in "$work/fifo.wav" "$work/zero.wav"; do
  settings 2 "$file"
  run_saver 1
  must_end_within 20 env -u DISPLAY "$VX" /s --frames 5 >/dev/null || fail "$file: off-screen run failed"
done
[ "$(audible_bytes)" -eq 0 ] || fail "an endless file was played"

# A WAV that claims two gigabytes of samples is streamed: the saver stays small and a
# termination request still ends it within a second.
{ printf 'RIFF\xf8\xff\xff\x7fWAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x10\0'
  printf 'data\xd4\xff\xff\x7f'; } >"$work/huge.wav"
truncate -s 2G "$work/huge.wav"
settings 2 "$work/huge.wav"
"$VX" /s &
pid=$!
wait_window Vexlum_Main >/dev/null
sleep 2
rss_kb=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
[ "$rss_kb" -lt 400000 ] || fail "a long WAV file took ${rss_kb} KB"
kill -TERM "$pid"
wait_gone "$pid" 1
wait "$pid" || fail "saver exited with status $? after SIGTERM"
no_images_left
echo "music integration: ok"
