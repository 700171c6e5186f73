# Helpers of the Windows tests, on top of the Linux integration tests' own. Source it; needs
# VEXLUM_SCR, WINDOW_PROBE, WINEPREFIX (a prefix that wineboot has set up) and DISPLAY.
source "$(dirname "${BASH_SOURCE[0]}")/../integration/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ] || fail "needs WINEPREFIX set up by wineboot"
export WINEDEBUG=-all LIBGL_ALWAYS_SOFTWARE=1

# A private copy of vexlum.scr and its data pack, so a test's settings file is its own. Sets
# SAVER (the copy) and SAVER_DIR.
make_scr_copy() {
  SAVER_DIR=$(mktemp -d)
  cp "$VEXLUM_SCR" "$(dirname "$VEXLUM_SCR")/Vexlum_Data.ppd" "$SAVER_DIR/"
  SAVER="$SAVER_DIR/vexlum.scr"
}

# The run folders savers make in the Windows user's temporary folder.
run_folders() { compgen -G "$WINEPREFIX/drive_c/users/*/Temp/vexlum-??????" || true; }

# Fails when a saver left an image or a run folder behind.
no_run_folders_left() {
  local left
  left=$(run_folders; find "$SAVER_DIR" -iname 'vexlum0[12].png')
  [ -z "$left" ] || fail "left behind: $left"
}

# Gives the X input focus to a window. Xvfb runs no window manager, and Wine leaves focusing
# its windows to one, so keys would go nowhere.
focus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; }

# Presses a key in a window until its process ends (three tries, five seconds each): focus
# given to a window reaches Wine asynchronously, and a key sent before it arrives is lost.
press_until_gone() {  # PID WINDOW KEY
  local try
  for try in 1 2 3; do
    focus "$2"
    sleep 0.3
    xdotool key "$3"
    for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.05; done
    echo "key $3 did not end process $1 (try $try)"
  done
  fail "key $3 did not end process $1"
}

# Waits for process $1 and fails unless it exits with status $2 (default 0).
expect_status() {
  local status=0
  wait "$1" || status=$?
  [ "$status" -eq "${2:-0}" ] || fail "exit status $status, expected ${2:-0}"
}

# Writes the copy's settings file (INI text with \r\n escapes; keys as UTF-8, stored CP932).
settings_file() { printf '%b' "$1" | iconv -f utf-8 -t cp932 >"$SAVER_DIR/Vexlum.ini"; }

# The settings dialog, driven as a user drives it.
DIALOG_TITLE="Vexlum(Screen Saver)の設定"
# Opens the dialog of the program $1 (in the locale $2, Japanese by default); sets DIALOG_PID,
# DIALOG_WINDOW, and X and Y, where the client area starts on the screen (what the form's
# positions count from).
open_dialog() {
  LANG=${2:-ja_JP.UTF-8} wine "$1" /c >/dev/null 2>&1 &
  DIALOG_PID=$!
  DIALOG_WINDOW=$(wait_window "${DIALOG_TITLE//(/\\(}")
  sleep 1  # drawn a moment after it is shown
  read -r X Y < <(wine "$WINDOW_PROBE" origin "$DIALOG_TITLE" 5 | tr -d '\r')
}
# The value boxes' texts, in the form's order (an empty file box shows no line).
dialog_values() { wine "$WINDOW_PROBE" text "$DIALOG_TITLE" 5 | tr -d '\r' | tr '\n' ' '; }
# Clicks at x, y pixels of the dialog's client area.
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.5; }
dialog_closed() {
  wait_gone "$DIALOG_PID" 15
  expect_status "$DIALOG_PID"
}
# The class and text of the dialog's focused control, as "ScrollBar " or "Vexlum_Choice 文字".
dialog_focus() { wine "$WINDOW_PROBE" focus "$DIALOG_TITLE" | tr -d '\r'; }
# Presses Tab until the focused control's class and text start with $1 (at most 20 times).
tab_to() {
  local _
  for _ in $(seq 20); do
    [[ "$(dialog_focus)" == "$1"* ]] && return 0
    xdotool key Tab
    sleep 0.2
  done
  fail "Tab never reached $1 (at $(dialog_focus))"
}
