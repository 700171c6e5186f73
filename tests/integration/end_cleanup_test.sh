#!/usr/bin/env bash
# Fifty saver runs ended at random moments, by SIGTERM, SIGINT, SIGHUP, a key or a click, the
# moment falling anywhere from start-up to full flight: none leaves a file or a folder behind.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
make_copy
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$VX_DIR"' EXIT

# With job control on, background runs keep SIGINT: a shell without it starts them with SIGINT
# ignored, which a program inherits until it installs its own handler.
set -m
ends=(TERM INT HUP key click)
for run in $(seq 50); do
  end=${ends[$((RANDOM % ${#ends[@]}))]}
  delay="$((RANDOM % 15 / 10)).$((RANDOM % 10))"  # 0.0 to 1.9 seconds
  case $end in
    key | click)
      "$VX" /s --seed "$run" &
      pid=$!
      wait_window Vexlum_Main >/dev/null
      sleep "$delay"
      if [ "$end" = key ]; then xdotool key q; else xdotool mousemove 300 300 click 1; fi
      ;;
    *)
      env -u DISPLAY "$VX" /s --frames 100000 --seed "$run" >/dev/null &
      pid=$!
      sleep "$delay"
      kill -"$end" "$pid" 2>/dev/null || true
      ;;
  esac
  for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$pid" 2>/dev/null && fail "run $run ($end after ${delay}s) still running after 10 s"
  status=0
  wait "$pid" || status=$?
  # A signal that arrives before the handlers are in place ends the process as signals do.
  [ "$status" -eq 0 ] || [ "$status" -ge 128 ] || fail "run $run ($end after ${delay}s): status $status"
  no_images_left
done
echo "end cleanup integration: ok"
