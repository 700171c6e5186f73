#!/usr/bin/env bash
# bash bench/windows_end.sh [BUILD_FOLDER] [RUNS]: how long vexlum.scr takes to go after a
# key, under Wine on a private Xvfb (1920 x 1080, no window manager). Each run starts
# `vexlum.scr /s`, lets it draw for three seconds, presses a key in its window and times the
# window's disappearance and the process's end from the key, in milliseconds; prints each
# figure's minimum, median and maximum over RUNS (default 20). Uses $WINEPREFIX when set,
# else a prefix of its own in the build folder (set up on first use, about 15 s). A
# benchmark, not a test: it judges nothing.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build/windows}
RUNS=${2:-20}
SCR=$BUILD/src/vexlum.scr
[ -f "$SCR" ] || { echo "no $SCR: build it first (cmake --workflow --preset windows)" >&2; exit 1; }
export WINEPREFIX=${WINEPREFIX:-$BUILD/wine} WINEDEBUG=-all LIBGL_ALWAYS_SOFTWARE=1

work=$(mktemp -d)
cp "$SCR" "$BUILD/src/Vexlum_Data.ppd" "$work/"
Xvfb -displayfd 5 -screen 0 1920x1080x24 -nolisten tcp 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'pkill -P $$ 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  env -u DISPLAY wineboot -i >/dev/null 2>&1
  wineserver -w
fi

now_ms() { date +%s%3N; }
visible() { xdotool search --onlyvisible --name '^Vexlum_Main$' >/dev/null 2>&1; }
window_ms=() process_ms=()
for run in $(seq "$RUNS"); do
  wine "$work/vexlum.scr" /s >/dev/null 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Vexlum_Main$' 2>/dev/null | head -n1) || true
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "run $run: no saver window" >&2; exit 1; }
  sleep 3
  gone="" ended=""
  # Focus reaches Wine's window asynchronously and a key sent before it is lost: such a key
  # is sent again after two seconds, and the time counts from the key that arrived.
  for _ in 1 2 3 4 5; do
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 0.5
    key=$(now_ms)
    xdotool key a
    while kill -0 "$pid" 2>/dev/null && [ $(($(now_ms) - key)) -lt 2000 ]; do
      [ -z "$gone" ] && ! visible && gone=$(now_ms)
      sleep 0.005
    done
    kill -0 "$pid" 2>/dev/null || break
  done
  ended=$(now_ms)
  kill -0 "$pid" 2>/dev/null && { echo "run $run: five keys did not end the saver" >&2; exit 1; }
  [ -n "$gone" ] || gone=$ended
  wait "$pid" || true
  window_ms+=($((gone - key)))
  process_ms+=($((ended - key)))
  echo "run $run: window gone after $((gone - key)) ms, process after $((ended - key)) ms" >&2
done
summary() {  # name, then the figures
  local name=$1
  shift
  printf '%s\n' "$@" | sort -n | awk -v n="$name" '{ v[NR] = $1 } END {
    printf "%-28s min %5d  median %5d  max %5d ms\n", n, v[1], v[int((NR + 1) / 2)], v[NR] }'
}
echo "vexlum.scr /s under Wine, key to end, $RUNS runs:"
summary "window gone" "${window_ms[@]}"
summary "process gone" "${process_ms[@]}"
