#!/usr/bin/env bash
# The preview inside a host's window: the picture at its natural size from the top-left,
# black beyond it, clipped when the host is smaller; it ends with its host.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"
work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT
picture="$VEXLUM_SOURCE_DIR/assets/preview.jpg"

# Number of pixels that differ by more than a JPEG decoder's rounding.
differing() { compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 || true; }

check_host() {
  local w=$1 h=$2
  start_window "Preview Host" "$w" "$h"
  "$VEXLUM" /p "$WINDOW_ID" &
  local pid=$!
  sleep 1
  import -window "$WINDOW_ID" "$work/shot.png"
  local cw=$((w < 152 ? w : 152)) ch=$((h < 112 ? h : 112))
  convert "$picture" -crop "${cw}x${ch}+0+0" +repage "$work/expected.png"
  convert "$work/shot.png" -crop "${cw}x${ch}+0+0" +repage "$work/got.png"
  local d
  d=$(differing "$work/expected.png" "$work/got.png")
  [ "$d" = "0" ] || fail "${w}x${h}: $d pixels differ from the picture"
  if [ "$w" -gt 152 ]; then
    [ "$(lit_fraction "$work/shot.png" "$((w - 152))x${h}+152+0")" = "0" ] ||
      fail "${w}x${h}: not black right of the picture"
  fi
  if [ "$h" -gt 112 ]; then
    [ "$(lit_fraction "$work/shot.png" "${w}x$((h - 112))+0+112")" = "0" ] ||
      fail "${w}x${h}: not black below the picture"
  fi
  stop_window
  wait_gone "$pid" 5
  wait "$pid" || fail "${w}x${h}: preview exited non-zero"
}

check_host 152 112
check_host 300 200
check_host 100 80

# Not a window, or no number: an immediate end with status 1.
status=0
must_end_within 5 "$VEXLUM" /p 12345 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "/p 12345 gave status $status"
status=0
must_end_within 5 "$VEXLUM" /p 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "/p gave status $status"
echo "preview integration: ok"
