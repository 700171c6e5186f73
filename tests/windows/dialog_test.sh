#!/usr/bin/env bash
# The settings dialog (/c) under Wine, used with the mouse and the keyboard: values corrected
# on load, a scroll bar moved by its arrow and by a key, a radio mark chosen, Save writing
# exactly the eight keys in Shift_JIS, Cancel and the close box writing nothing.
source "$(dirname "$0")/common.sh"
make_scr_copy
work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$SAVER_DIR" "$work"' EXIT
ini=$SAVER_DIR/Vexlum.ini

# Values beyond their ranges are shown as the saver would correct them.
settings_file '[Section]\r\nLetterHeight=0\r\nLetterWidth=-3\r\nLimite=-5\r\nSpeedFactor=0\r\n'
open_dialog "$SAVER"
[ "$(dialog_values)" = "21 18 10 17 " ] || fail "corrected values shown as: $(dialog_values)"
import -window root -crop 451x334+$X+$Y +repage "$work/dialog.png"
gt "$(lit_fraction "$work/dialog.png")" 0.3 || fail "the dialog's panels are not drawn"
# Cancel writes nothing, even after a change.
cp "$ini" "$work/before.ini"
click 138 184  # the height bar's lower arrow
[ "$(dialog_values)" = "22 18 10 17 " ] || fail "the bar's arrow did not change its box: $(dialog_values)"
click 382 272  # ｷｬﾝｾﾙ
dialog_closed
cmp -s "$ini" "$work/before.ini" || fail "Cancel changed the settings file"

# Nor does the close box.
open_dialog "$SAVER"
click 138 184
wine "$WINDOW_PROBE" close "$DIALOG_TITLE"
dialog_closed
cmp -s "$ini" "$work/before.ini" || fail "the close box changed the settings file"

# Save writes the eight keys, in their order, in Shift_JIS, with what was chosen: the bar moved
# by its arrow and then by the keyboard, the letters atlas, the music source left as it was.
rm "$ini"
open_dialog "$SAVER"
[ "$(dialog_values)" = "21 18 100 20 " ] || fail "the defaults shown as: $(dialog_values)"
click 138 184
focus "$DIALOG_WINDOW"
sleep 0.5  # focus reaches Wine a moment later; a key before it would be lost
xdotool key Down
for _ in $(seq 30); do [ "$(dialog_values)" = "23 18 100 20 " ] && break; sleep 0.1; done
[ "$(dialog_values)" = "23 18 100 20 " ] || fail "the Down key did not move the focused bar: $(dialog_values)"
click 354 198  # 文字
click 286 272  # 設定
dialog_closed
printf '[Section]\r\nLetterHeight=23\r\nLetterWidth=18\r\nLimite=100\r\nSpeedFactor=20\r\nKind=1\r\nBGM区分=0\r\nBGMﾘﾋﾟｰﾄ=0\r\nBGMﾌｧｲﾙ=\r\n' |
  iconv -f utf-8 -t cp932 >"$work/expected.ini"
cmp -s "$ini" "$work/expected.ini" || fail "Save wrote: $(iconv -f cp932 -t utf-8 "$ini" | tr '\r\n' '| ')"
[ -z "${VEXLUM_KEEP_SHOTS:-}" ] || cp "$work/dialog.png" "$VEXLUM_KEEP_SHOTS/"
echo "windows dialog test passed"
