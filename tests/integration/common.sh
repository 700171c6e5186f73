# Helpers shared by the integration test scripts. Source it; needs VEXLUM and TEST_WINDOW set.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

# Messages follow the user's language: the tests say which one they read.
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES LANGUAGE

# Runs a command with a time limit; fails the test if it has not ended by then.
must_end_within() {
  local seconds=$1; shift
  local status=0
  timeout "$seconds" "$@" || status=$?
  [ "$status" -ne 124 ] || fail "did not end within ${seconds}s: $*"
  return "$status"
}

# Starts a test window titled $1 (optional size $2 $3); sets WINDOW_ID and WINDOW_PID.
start_window() {
  local out
  out=$(mktemp)
  "$TEST_WINDOW" "$@" >"$out" &
  WINDOW_PID=$!
  for _ in $(seq 100); do [ -s "$out" ] && break; sleep 0.05; done
  WINDOW_ID=$(head -n1 "$out")
  rm -f "$out"
  [ -n "$WINDOW_ID" ] || fail "test window did not start"
}

stop_window() { kill "$WINDOW_PID" 2>/dev/null || true; wait "$WINDOW_PID" 2>/dev/null || true; }

# A private copy of the program and its data pack, and a private folder for the runs' extracted
# images, so a test's settings file and images never meet another test's. Sets VX (the copy's
# executable), VX_DIR and XDG_RUNTIME_DIR (where each run makes its image folder).
make_copy() {
  VX_DIR=$(mktemp -d)
  cp "$VEXLUM" "$VX_DIR/vexlum"
  cp "$(dirname "$VEXLUM")/Vexlum_Data.ppd" "$VX_DIR/"
  VX="$VX_DIR/vexlum"
  mkdir -m 700 "$VX_DIR/runtime"
  export XDG_RUNTIME_DIR="$VX_DIR/runtime"
}

# Fails when a saver left an image, or a run folder, behind.
no_images_left() {
  local left
  left=$(find "$VX_DIR" -iname 'vexlum0[12].png' -o -name 'vexlum-*' 2>/dev/null | head -n1)
  [ -z "$left" ] || fail "left behind: $left"
}

# The fraction (0..1) of pixels brighter than 5% in an image, or in its crop GEOMETRY.
lit_fraction() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -colorspace gray -threshold 5% -format '%[fx:mean]' info:
}

# Fails unless glyphs are lit in at least two of the four vertical quarters of a
# 1920 x 1080 screenshot: the saver's columns spread across the screen.
expect_spread_glyphs() {
  local lit=0 q f
  for q in 0 1 2 3; do
    f=$(lit_fraction "$1" "480x1080+$((q * 480))+0")
    gt "$f" 0.001 && lit=$((lit + 1))
  done
  [ "$lit" -ge 2 ] || fail "glyphs lit only $lit of 4 screen quarters"
}

# Waits up to $2 seconds (default 10) for process $1 to end; fails if it does not.
wait_gone() {
  local pid=$1 limit=${2:-10}
  for _ in $(seq $((limit * 20))); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.05; done
  fail "process $pid still running after ${limit}s"
}

# Waits until a window with exactly this title is on screen; prints its id.
# Generous: a loaded machine renders in software and may be slow to show the first frame.
wait_window() {
  local id="" deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "no window titled $1 appeared within 30 s"
  echo "$id"
}

gt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# run_frames FRAMES PNG COMMAND...: runs the saver COMMAND for exactly FRAMES frames and
# writes the last one to PNG. Stray input on a shared X server ends a run early; such a run
# is repeated.
run_frames() {
  local frames=$1 png=$2 stats
  shift 2
  for _ in 1 2 3; do
    stats=$(must_end_within 120 "$@" --frames "$frames" --screenshot "$png" --stats) ||
      fail "saver run for $png failed"
    grep -q "ended by: frame count reached" <<<"$stats" && break
    echo "run for $png ended early ($(grep 'ended by' <<<"$stats")); again"
  done
  grep -q "frames drawn: $frames\$" <<<"$stats" || fail "run for $png: $stats"
  [ -s "$png" ] || fail "no screenshot $png"
}

# start_heads [--randr] WxH+X+Y...: a private Xvfb with an Xephyr inside it whose Xinerama
# heads lie where given, primary first (Xvfb's own +xinerama stacks them all at 0,0), and
# DISPLAY set to the Xephyr. Without --randr the Xephyr offers no RandR: Wine reads monitors
# from RandR when there is any, and Xephyr's one RandR output would hide the heads from it.
# Call stop_heads at the end (from the EXIT trap).
start_heads() {
  local randr=(-extension RANDR)
  if [ "$1" = --randr ]; then randr=(); shift; fi
  local screens=() width=0 height=0 g
  for g in "$@"; do
    [[ "$g" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "bad head $g"
    screens+=(-screen "$g")
    if ((BASH_REMATCH[1] + BASH_REMATCH[3] > width)); then width=$((BASH_REMATCH[1] + BASH_REMATCH[3])); fi
    if ((BASH_REMATCH[2] + BASH_REMATCH[4] > height)); then height=$((BASH_REMATCH[2] + BASH_REMATCH[4])); fi
  done
  HEADS_DIR=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3>"$HEADS_DIR/outer" \
    >/dev/null 2>&1 &
  HEADS_PIDS=($!)
  for _ in $(seq 100); do [ -s "$HEADS_DIR/outer" ] && break; sleep 0.1; done
  [ -s "$HEADS_DIR/outer" ] || fail "the outer Xvfb did not start"
  DISPLAY=":$(head -n1 "$HEADS_DIR/outer")" Xephyr -displayfd 3 +xinerama "${randr[@]}" \
    "${screens[@]}" -nolisten tcp 3>"$HEADS_DIR/inner" >"$HEADS_DIR/xephyr.log" 2>&1 &
  HEADS_PIDS+=($!)
  for _ in $(seq 100); do [ -s "$HEADS_DIR/inner" ] && break; sleep 0.1; done
  [ -s "$HEADS_DIR/inner" ] || fail "Xephyr did not start: $(cat "$HEADS_DIR/xephyr.log")"
  export DISPLAY=":$(head -n1 "$HEADS_DIR/inner")"
  local heads
  heads=$(xdpyinfo -ext XINERAMA | grep -c '^  head #')
  [ "$heads" -eq $# ] || fail "Xephyr shows $heads heads, not $#"
}

HEADS_PIDS=()
stop_heads() {
  local i pid
  # Xephyr first: it complains when its own display goes away under it.
  for ((i = ${#HEADS_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${HEADS_PIDS[i]}
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  HEADS_PIDS=()
  rm -rf "${HEADS_DIR:-}"
}
