#!/usr/bin/env bash
# The settings dialog (/c) under Wine, used with the mouse and the keyboard: values corrected
# on load, a scroll bar moved by its arrow and by a key, a radio mark chosen, Save writing
# exactly the eight keys in Shift_JIS, Cancel and the close box writing nothing.
source "$(dirname "$0")/common.sh"
make_scr_copy
work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$VX_DIR" "$work"' EXIT
title="Vexlum(Screen Saver)の設定"
ini=$VX_DIR/Vexlum.ini

# Opens the dialog; sets DIALOG_PID, and X and Y, the client area's origin on the screen.
open_dialog() {
  LANG=ja_JP.UTF-8 wine "$VX" /c >"$work/dialog.log" 2>&1 &
  DIALOG_PID=$!
  DIALOG_WINDOW=$(wait_window "${title//(/\\(}")
  sleep 1  # drawn a moment after it is shown
  # Where Windows puts the client area, which is what the form's positions count from.
  read -r X Y < <(wine "$WINDOW_PROBE" origin "$title" 5 | tr -d '\r')
}
# The value boxes' texts, in the form's order (an empty file box shows no line).
values() { wine "$WINDOW_PROBE" text "$title" 5 | tr -d '\r' | tr '\n' ' '; }
# Clicks at x, y pixels of the dialog's client area.
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.5; }
closed() {
  wait_gone "$DIALOG_PID" 15
  expect_status "$DIALOG_PID"
}

# Values beyond their ranges are shown as the saver would correct them.
settings_file '[Section]\r\nLetterHeight=0\r\nLetterWidth=-3\r\nLimite=-5\r\nSpeedFactor=0\r\n'
open_dialog
[ "$(values)" = "21 18 10 17 " ] || fail "corrected values shown as: $(values)"
import -window root -crop 451x334+$X+$Y +repage "$work/dialog.png"
gt "$(lit_fraction "$work/dialog.png")" 0.3 || fail "the dialog's panels are not drawn"
# Cancel writes nothing, even after a change.
cp "$ini" "$work/before.ini"
click 138 184  # the height bar's lower arrow
[ "$(values)" = "22 18 10 17 " ] || fail "the bar's arrow did not change its box: $(values)"
click 382 272  # ｷｬﾝｾﾙ
closed
cmp -s "$ini" "$work/before.ini" || fail "Cancel changed the settings file"

# Nor does the close box.
open_dialog
click 138 184
wine "$WINDOW_PROBE" close "$title"
closed
cmp -s "$ini" "$work/before.ini" || fail "the close box changed the settings file"

# Save writes the eight keys, in their order, in Shift_JIS, with what was chosen: the bar moved
# by its arrow and then by the keyboard, the letters atlas, the music source left as it was.
rm "$ini"
open_dialog
[ "$(values)" = "21 18 100 20 " ] || fail "the defaults shown as: $(values)"
click 138 184
focus "$DIALOG_WINDOW"
sleep 0.5  # focus reaches Wine a moment later; a key before it would be lost
xdotool key Down
for _ in $(seq 30); do [ "$(values)" = "23 18 100 20 " ] && break; sleep 0.1; done
[ "$(values)" = "23 18 100 20 " ] || fail "the Down key did not move the focused bar: $(values)"
click 354 198  # 文字
click 286 272  # 設定
closed
printf '[Section]\r\nLetterHeight=23\r\nLetterWidth=18\r\nLimite=100\r\nSpeedFactor=20\r\nKind=1\r\nBGM区分=0\r\nBGMﾘﾋﾟｰﾄ=0\r\nBGMﾌｧｲﾙ=\r\n' |
  iconv -f utf-8 -t cp932 >"$work/expected.ini"
cmp -s "$ini" "$work/expected.ini" || fail "Save wrote: $(iconv -f cp932 -t utf-8 "$ini" | tr '\r\n' '| ')"
[ -z "${VEXLUM_KEEP_SHOTS:-}" ] || cp "$work/dialog.png" "$VEXLUM_KEEP_SHOTS/"
echo "windows dialog test passed"
