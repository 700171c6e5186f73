#!/usr/bin/env bash
# bash bench/side_by_side.sh [BUILD_FOLDER]: Vexlum beside XScreenSaver's glmatrix and
# glxgears (the floor of any full-screen GL frame), on one private Xvfb with Mesa's software
# renderer, at 1920 x 1080 (full screen) and 1280 x 720 (a window of that size). Each program
# warms up for $WARMUP seconds (default 30), then is measured for $MEASURE (default 15):
# frames per second (each presented frame counted by bench/swap_counter.c, preloaded), its own
# CPU and the X server's (from /proc over the same seconds), total CPU milliseconds per frame
# and its resident set at the end; the fragments it shades per frame (Mesa's own counter,
# dumped by GALLIUM_HUD in a second run) and its CPU nanoseconds per fragment. Beside them the
# synthetic limit: bench/limit_bench --window, the plainest GL program drawing one recorded
# frame of Vexlum's (the same fragments) as fast as it can and at Vexlum's 40 frames a second,
# when LIMIT_BENCH names it or the dev build has it. Then Vexlum full screen on two
# side-by-side 1280 x 720 monitors (a private Xephyr with two Xinerama heads) against one
# 1280 x 720 saver on the same server. Installs the peers (Debian's xscreensaver-gl,
# mesa-utils, xserver-xephyr) when they are missing. A benchmark, not a test: it judges
# nothing.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build/release}
VEXLUM=$BUILD/src/vexlum
WARMUP=${WARMUP:-30} MEASURE=${MEASURE:-15}
[ -x "$VEXLUM" ] || { echo "no $VEXLUM: build first (see the README's Install)" >&2; exit 1; }
LIMIT_BENCH=${LIMIT_BENCH:-$ROOT/build/test/bench/limit_bench}
GLMATRIX=/usr/libexec/xscreensaver/glmatrix
if [ ! -x "$GLMATRIX" ] || ! command -v glxgears >/dev/null || ! command -v Xvfb >/dev/null ||
  ! command -v Xephyr >/dev/null; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get install -y -qq --no-install-recommends xscreensaver-gl mesa-utils xvfb \
    xserver-xephyr >/dev/null
fi

work=$(mktemp -d)
mkdir -m 700 "$work/runtime"
cp "$VEXLUM" "$BUILD/src/Vexlum_Data.ppd" "$work/"  # a copy without a settings file: defaults
cc -O2 -shared -fPIC -o "$work/swap_counter.so" "$ROOT/bench/swap_counter.c" -ldl
Xvfb -displayfd 5 -screen 0 1920x1080x24 -nolisten tcp 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
xserver=$xvfb  # the server whose CPU is counted with each program's
trap 'pkill -P $$ 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")" LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=$work/runtime

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }  # user + system, in clock ticks
frames() { od -An -t u8 -w32 "$1" | awk '{ print ($1 > $2 + $3) ? $1 : $2 + $3 }'; }
HZ=$(getconf CLK_TCK)
RESULTS=()

# measure NAME SIZE COMMAND...: one program, started on the X server in use and ended after.
# SWAPS_PER_FRAME: swaps the program makes each frame (one per window it draws in). The
# fragments come from a second run of the same warm-up with Mesa's HUD on, read for
# $FRAGMENT_SECONDS (default 5; 0 skips it): the HUD costs its program 10-20 % of a core, so
# it stays off while the CPU is measured. The HUD counts the fragments of one context, so
# that run is left out where there are several.
measure() {
  local name=$1 size=$2; shift 2
  local counter=$work/count.$RANDOM hud=$work/hud.$RANDOM swaps=${SWAPS_PER_FRAME:-1}
  SWAP_COUNTER_FILE="$counter" LD_PRELOAD="$work/swap_counter.so" "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$WARMUP"
  kill -0 "$pid" 2>/dev/null || { echo "$name ended during the warm-up" >&2; return 1; }
  local f0 p0 x0 t0 f1 p1 x1 t1
  f0=$(frames "$counter") p0=$(ticks "$pid") x0=$(ticks "$xserver") t0=$(date +%s.%N)
  sleep "$MEASURE"
  f1=$(frames "$counter") p1=$(ticks "$pid") x1=$(ticks "$xserver") t1=$(date +%s.%N)
  local rss fragments=0
  rss=$(awk '/^VmRSS/ { print int($2 / 1024) }' "/proc/$pid/status")
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
  if [ "$swaps" -eq 1 ] && [ "${FRAGMENT_SECONDS:-5}" -gt 0 ]; then
    mkdir "$hud"
    GALLIUM_HUD=ps-invocations GALLIUM_HUD_PERIOD=1 GALLIUM_HUD_DUMP_DIR="$hud" "$@" \
      >/dev/null 2>&1 &
    pid=$!
    sleep "$WARMUP"
    local h0
    h0=$( (cat "$hud/ps_invocations" 2>/dev/null || true) | wc -l)
    sleep "${FRAGMENT_SECONDS:-5}"
    # The HUD writes each second's average per frame; those of the seconds after the warm-up.
    fragments=$( (tail -n +$((h0 + 1)) "$hud/ps_invocations" 2>/dev/null || true) |
      awk '{ s += $1; n++ } END { print n ? s / n : 0 }')
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
  fi
  RESULTS+=("$(awk -v n="$name" -v s="$size" -v f=$((f1 - f0)) -v p=$((p1 - p0)) \
    -v x=$((x1 - x0)) -v t0="$t0" -v t1="$t1" -v hz="$HZ" -v rss="$rss" -v sw="$swaps" \
    -v fr="$fragments" 'BEGIN {
      secs = t1 - t0; cpu_ms = (p + x) * 1000 / hz; f /= sw
      own_ns = f ? p * 1e9 / hz / f : 0
      frag = "-"; per = "-"
      if (fr > 0) { frag = sprintf("%.2f M", fr / 1e6); per = sprintf("%.1f", own_ns / fr) }
      printf "%s|%s|%.1f|%.0f|%.0f|%.1f|%d|%s|%s", n, s, f / secs, p * 100 / hz / secs,
        x * 100 / hz / secs, f ? cpu_ms / f : 0, rss, frag, per }')")
  echo "  ${RESULTS[-1]}" >&2
}

echo "Warm-up $WARMUP s, measured $MEASURE s, on $DISPLAY (Mesa $(glxinfo -B 2>/dev/null |
  sed -n 's/.*OpenGL renderer string: //p'))" >&2
SIZES=${SIZES-1920x1080 1280x720}  # SIZES="" MONITORS=1: the two-monitor section alone
for size in $SIZES; do
  if [ "$size" = 1920x1080 ]; then
    vexlum_where=(/s) glmatrix_where=(-root) gears_where=(-fullscreen)
  else
    vexlum_where=(/s --windowed "$size") glmatrix_where=(-window -geometry "$size")
    gears_where=(-geometry "$size")
  fi
  # Seed 1, as the limit's recorded frame: a random seed moves the fragments by 15 % from run
  # to run.
  measure "vexlum (cap 40)" "$size" "$work/vexlum" "${vexlum_where[@]}" --seed 1
  measure "vexlum --uncapped" "$size" "$work/vexlum" "${vexlum_where[@]}" --uncapped --seed 1
  measure "glmatrix" "$size" "$GLMATRIX" "${glmatrix_where[@]}"
  measure "glmatrix -delay 0" "$size" "$GLMATRIX" "${glmatrix_where[@]}" -delay 0
  measure "glxgears (floor)" "$size" glxgears "${gears_where[@]}"
  if [ -x "$LIMIT_BENCH" ]; then
    measure "GL limit, same frame" "$size" "$LIMIT_BENCH" --window --size "$size"
    measure "GL limit, cap 40" "$size" "$LIMIT_BENCH" --window --size "$size" --cap 40
  fi
done

# Two side-by-side monitors: Xephyr's two Xinerama heads inside an Xvfb of its own.
if [ "${MONITORS:-1}" = 1 ]; then
  Xvfb -displayfd 5 -screen 0 2560x720x24 -nolisten tcp 5>"$work/outer" >/dev/null 2>&1 &
  for _ in $(seq 100); do [ -s "$work/outer" ] && break; sleep 0.1; done
  DISPLAY=":$(head -n1 "$work/outer")" Xephyr -displayfd 5 +xinerama -screen 1280x720+0+0 \
    -screen 1280x720+1280+0 -nolisten tcp 5>"$work/inner" >/dev/null 2>&1 &
  xserver=$!
  for _ in $(seq 100); do [ -s "$work/inner" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$work/inner")"
  SWAPS_PER_FRAME=2 measure "vexlum, 2 monitors" "2 x 1280x720" "$work/vexlum" /s
  measure "vexlum, 1 window" "1280x720" "$work/vexlum" /s --windowed 1280x720
fi

echo
echo "| program | size | frames/s | process CPU % | X server CPU % | CPU ms/frame | RSS MB |" \
  "fragments/frame | process ns/fragment |"
echo "|---|---|---|---|---|---|---|---|---|"
for r in "${RESULTS[@]}"; do echo "| ${r//|/ | } |"; done
echo
for size in $SIZES; do
  ms() { printf '%s\n' "${RESULTS[@]}" | awk -F'|' -v n="$1" -v s="$size" '$1 == n && $2 == s { print $6 }'; }
  awk -v s="$size" -v v="$(ms 'vexlum --uncapped')" -v g="$(ms 'glmatrix -delay 0')" \
    -v f="$(ms 'glxgears (floor)')" -v l="$(ms 'GL limit, same frame')" 'BEGIN {
      printf "%s: CPU ms per frame, vexlum uncapped / glmatrix -delay 0 = %.2f, / floor = %.2f",
        s, g ? v / g : 0, f ? v / f : 0
      if (l) printf ", / GL limit = %.2f", v / l
      printf "\n" }'
  cpu() { printf '%s\n' "${RESULTS[@]}" | awk -F'|' -v n="$1" -v s="$size" '$1 == n && $2 == s { print $4 }'; }
  per() { printf '%s\n' "${RESULTS[@]}" | awk -F'|' -v n="$1" -v s="$size" '$1 == n && $2 == s { print $9 }'; }
  awk -v s="$size" -v v="$(cpu 'vexlum (cap 40)')" -v l="$(cpu 'GL limit, cap 40')" \
    -v g="$(cpu 'glmatrix')" -v vn="$(per 'vexlum (cap 40)')" -v ln="$(per 'GL limit, cap 40')" \
    'BEGIN {
      if (!l) exit
      printf "%s: process CPU %% at 40 frames/s, vexlum %d, GL limit %d (glmatrix %d)", s, v, l, g
      if (vn + 0 && ln + 0) printf "; per fragment, vexlum / GL limit = %.2f", vn / ln
      printf "\n" }'
done
# Process CPU per frame: two monitors against two separate 1280 x 720 savers.
printf '%s\n' "${RESULTS[@]}" | awk -F'|' '
  $1 == "vexlum, 2 monitors" { two = $4 / $3 } $1 == "vexlum, 1 window" { one = $4 / $3 }
  END { if (one) printf "two monitors: process CPU per frame %.2f times two single savers'"'"'\n",
        two / (2 * one) }'
