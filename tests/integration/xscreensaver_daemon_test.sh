#!/usr/bin/env bash
# XScreenSaver's own daemon runs Vexlum with options from its config: the picture follows
# them, and deactivating leaves no process, file or folder behind. On a private X server,
# because the daemon grabs keyboard and mouse while it blanks.
source "$(dirname "$0")/common.sh"
command -v xscreensaver >/dev/null || fail "needs XScreenSaver (package xscreensaver)"
make_copy
work=$(mktemp -d)
home=$work/home
mkdir -p "$home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  # The daemon is a desktop program: an ordinary user runs it.
  command -v setpriv >/dev/null || fail "needs setpriv to run as an ordinary user"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
  chown -R 65534:65534 "$VX_DIR" "$work"
fi

display_file=$work/display
Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$display_file" >/dev/null 2>&1 &
xvfb=$!
trap '"${as_user[@]}" env HOME="$home" DISPLAY="${DISPLAY:-}" xscreensaver-command -exit \
  >/dev/null 2>&1 || true; pkill -P $$ 2>/dev/null || true; kill $xvfb 2>/dev/null || true
  rm -rf "$VX_DIR" "$work"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"

cat >"$home/.xscreensaver" <<'CONFIG'
timeout:	0:30:00
lock:		False
splash:		False
fade:		False
unfade:		False
mode:		one
selected:	0
programs:	\
  GL: vexlum --root --atlas letters --seed 3 \n\
  GL: vexlum --root --atlas scenery --seed 3 \n\

CONFIG
run() { "${as_user[@]}" env HOME="$home" PATH="$VX_DIR:$PATH" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
  LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy "$@"; }
run xscreensaver -no-splash >"$work/daemon.log" 2>&1 &
# On a loaded machine the daemon can take many seconds to answer its first command.
deadline=$((SECONDS + 60))
until run xscreensaver-command -time >/dev/null 2>&1; do
  [ $SECONDS -lt $deadline ] || fail "the daemon did not start: $(tail -n 5 "$work/daemon.log")"
  sleep 0.2
done

# A running saver: alive, not a zombie the daemon has yet to reap.
savers() { ps -eo pid=,stat=,args= | awk '$2 !~ /^Z/ && $3 ~ /vexlum$/ { print $1 }'; }
# Pixels clearly warmer than blue: scenery's sunsets and fields; letters are white and blue.
warm_fraction() { convert "$1" -fx 'r-b>0.12 ? 1 : 0' -format '%[fx:mean]' info:; }

shot() {  # shot N PNG: activates the N-th program, waits for its picture, deactivates
  run xscreensaver-command -select "$1" >/dev/null
  local deadline=$((SECONDS + 30))
  until [ -n "$(savers)" ]; do
    [ $SECONDS -lt $deadline ] || fail "the daemon started no Vexlum: $(tail -n 5 "$work/daemon.log")"
    sleep 0.2
  done
  sleep 4
  import -window root "$2"
  run xscreensaver-command -deactivate >/dev/null
  deadline=$((SECONDS + 15))
  while [ -n "$(savers)" ]; do
    [ $SECONDS -lt $deadline ] || fail "Vexlum still runs after deactivation"
    sleep 0.2
  done
  no_images_left
}

shot 1 "$work/letters.png"
shot 2 "$work/scenery.png"
gt "$(lit_fraction "$work/letters.png")" 0.003 || fail "--atlas letters: nothing drawn"
gt "$(lit_fraction "$work/scenery.png")" 0.003 || fail "--atlas scenery: nothing drawn"
gt 0.0005 "$(warm_fraction "$work/letters.png")" || fail "--atlas letters shows scenery"
gt "$(warm_fraction "$work/scenery.png")" 0.002 || fail "--atlas scenery shows no scenery"
echo "xscreensaver daemon integration: ok"
