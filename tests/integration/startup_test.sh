#!/usr/bin/env bash
# Start-up against a real X server: the single-instance test and the silent modes.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"

for arg in /a x /; do
  out=$(must_end_within 5 "$VEXLUM" "$arg" 2>&1) || fail "vexlum $arg exited non-zero"
  [ -z "$out" ] || fail "vexlum $arg printed: $out"
done

for caption in "Vexlum_Main" "Vexlum(Screen Saver)の設定"; do
  start_window "$caption"
  for arg in /c /s; do
    out=$(must_end_within 5 "$VEXLUM" "$arg" 2>&1) || fail "vexlum $arg beside '$caption' failed"
    [ -z "$out" ] || fail "vexlum $arg beside '$caption' printed: $out"
  done
  stop_window
done
echo "startup integration: ok"
