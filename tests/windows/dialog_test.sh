#!/usr/bin/env bash
# The settings dialog (/c) under Wine, used with the mouse and with the keyboard alone: values
# corrected on load, ▲ raising every bar, Tab reaching every control, a bar moved and a radio
# mark chosen by keys, Save (pressed with Space) writing exactly the eight keys in Shift_JIS,
# Cancel, the close box and Esc writing nothing, English labels outside a Japanese locale.
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
click 138 167  # the height bar's upper arrow
[ "$(dialog_values)" = "22 18 10 17 " ] || fail "the bar's arrow did not change its box: $(dialog_values)"
click 382 272  # ｷｬﾝｾﾙ
dialog_closed
cmp -s "$ini" "$work/before.ini" || fail "Cancel changed the settings file"

# Nor does the close box, nor Esc.
open_dialog "$SAVER"
click 138 167
wine "$WINDOW_PROBE" close "$DIALOG_TITLE"
dialog_closed
cmp -s "$ini" "$work/before.ini" || fail "the close box changed the settings file"
open_dialog "$SAVER"
click 138 167
xdotool key Escape
dialog_closed
cmp -s "$ini" "$work/before.ini" || fail "Esc changed the settings file"

# ▲ raises every bar, ▼ lowers it.
rm "$ini"
open_dialog "$SAVER"
[ "$(dialog_values)" = "21 18 100 20 " ] || fail "the defaults shown as: $(dialog_values)"
for bar in 0 1 2 3; do click 138 $((167 + 32 * bar)); done
[ "$(dialog_values)" = "22 19 101 21 " ] || fail "▲ gave: $(dialog_values)"
for bar in 0 1 2 3; do click 138 $((186 + 32 * bar)); done
[ "$(dialog_values)" = "21 18 100 20 " ] || fail "▼ gave: $(dialog_values)"
wine "$WINDOW_PROBE" close "$DIALOG_TITLE"
dialog_closed

# The keyboard alone: Tab reaches each control in the form's order, the arrows raise a bar and
# move a group's choice, Space presses 設定. Save writes the eight keys, in their order, in
# Shift_JIS, with what was chosen.
open_dialog "$SAVER"
focus "$DIALOG_WINDOW"
sleep 0.5  # focus reaches Wine a moment later; a key before it would be lost
for control in "Vexlum_Choice 無し" "Edit" "Vexlum_PictureButton ..." "Edit" "ScrollBar" \
  "Vexlum_Choice 風景" "Vexlum_Choice Vexlum の説明" "Vexlum_PictureButton 設定" \
  "Vexlum_PictureButton ｷｬﾝｾﾙ"; do
  tab_to "$control"
  xdotool key Tab
  sleep 0.2
done
tab_to "ScrollBar"
xdotool key Up Up
tab_to "Vexlum_Choice 風景"
xdotool key Right
sleep 0.3
[ "$(dialog_focus)" = "Vexlum_Choice 文字" ] || fail "Right did not move to 文字: $(dialog_focus)"
tab_to "Vexlum_PictureButton 設定"
xdotool key space
dialog_closed
printf '[Section]\r\nLetterHeight=23\r\nLetterWidth=18\r\nLimite=100\r\nSpeedFactor=20\r\nKind=1\r\nBGM区分=0\r\nBGMﾘﾋﾟｰﾄ=0\r\nBGMﾌｧｲﾙ=\r\n' |
  iconv -f utf-8 -t cp932 >"$work/expected.ini"
cmp -s "$ini" "$work/expected.ini" || fail "Save wrote: $(iconv -f cp932 -t utf-8 "$ini" | tr '\r\n' '| ')"
[ -z "${VEXLUM_KEEP_SHOTS:-}" ] || cp "$work/dialog.png" "$VEXLUM_KEEP_SHOTS/"

# The music file's name is stored as the system's ANSI functions store it: in its code page
# (Shift_JIS here) when every character exists there, in UTF-8 only when not; both read back.
mkdir -p "$WINEPREFIX/drive_c/音楽"
key=$(printf 'BGMﾌｧｲﾙ=' | iconv -f utf-8 -t cp932)
for case in "曲.mp3|cp932" "曲ü.mp3|utf-8"; do
  name=${case%|*} stored=${case#*|}
  : >"$WINEPREFIX/drive_c/音楽/$name"
  { printf '[Section]\r\nBGM区分=2\r\n' | iconv -f utf-8 -t cp932
    printf '%sC:\\音楽\\%s\r\n' "$key" "$name"; } >"$ini"
  open_dialog "$SAVER"
  click 286 272  # 設定
  dialog_closed
  line=$(LC_ALL=C grep -a "^$key" "$ini" | tr -d '\r')
  expected=$key$(printf 'C:\\音楽\\%s' "$name" | iconv -f utf-8 -t "$stored")
  [ "$line" = "$expected" ] || fail "$name stored as: $(printf '%s' "$line" | od -An -tx1 | tr -d '\n')"
  open_dialog "$SAVER"
  labels=$(wine "$WINDOW_PROBE" labels "$DIALOG_TITLE" | tr -d '\r' | tr '\n' '|')
  want=$(printf 'C:\\音楽\\%s' "$name")
  [[ "$labels" == *"|$want|"* ]] || fail "$name read back as: $labels"
  wine "$WINDOW_PROBE" close "$DIALOG_TITLE"
  dialog_closed
done

# Outside a Japanese locale every label is English; the caption, which other programs look
# for, stays the same (found here by Windows' own search: X, in the C locale, shows it without
# its Japanese).
for case in "C|Letters|Save|Audio CD" "ja_JP.UTF-8|文字|設定|音楽CD"; do
  IFS='|' read -r locale letters save cd <<<"$case"
  LANG=$locale wine "$SAVER" /c >/dev/null 2>&1 &
  DIALOG_PID=$!
  labels=""
  for _ in $(seq 30); do
    labels=$(wine "$WINDOW_PROBE" labels "$DIALOG_TITLE" 1 | tr -d '\r' | tr '\n' '|')
    [[ "$labels" == *"|$save|"* ]] && break
    sleep 0.5
  done
  [[ "$labels" == *"|$letters|"* && "$labels" == *"|$save|"* && "$labels" == *"$cd"* ]] ||
    fail "labels in $locale: $labels"
  wine "$WINDOW_PROBE" close "$DIALOG_TITLE"
  dialog_closed
done

# Hosts that give their window as a word of its own: "/c 1234" opens the dialog (1234 names no
# window here, so it belongs to none), "/a 1234" ends at once.
must_end_within 30 wine "$SAVER" /a 1234 >/dev/null 2>&1 || fail "/a 1234 ended with status $?"
LANG=ja_JP.UTF-8 wine "$SAVER" /c 1234 >/dev/null 2>&1 &
DIALOG_PID=$!
wait_window "${DIALOG_TITLE//(/\\(}" >/dev/null
wine "$WINDOW_PROBE" close "$DIALOG_TITLE"
dialog_closed
echo "windows dialog test passed"
