#!/usr/bin/env bash
# The settings request against a real X server: it opens the dialog, and a running saver
# window keeps it from opening.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"
title="Vexlum(Screen Saver)の設定"

"$VEXLUM" /c &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
found=""
for _ in $(seq 100); do
  found=$(xdotool search --name "^${title//(/\\(}$" 2>/dev/null | head -n1 || true)
  [ -n "$found" ] && break
  kill -0 "$pid" 2>/dev/null || fail "vexlum /c ended without showing the dialog"
  sleep 0.1
done
[ -n "$found" ] || fail "no window titled '$title' appeared"
xwininfo -id "$found" | grep -q "Width: 451" || fail "dialog is not 451 pixels wide"
kill "$pid"
wait "$pid" 2>/dev/null || true
trap - EXIT

start_window "Vexlum_Main"
out=$(must_end_within 5 "$VEXLUM" /c 2>&1) || fail "vexlum /c beside a saver window failed"
[ -z "$out" ] || fail "vexlum /c beside a saver window printed: $out"
stop_window
echo "dialog integration: ok"
