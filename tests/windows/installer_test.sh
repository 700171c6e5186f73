#!/usr/bin/env bash
# The installer under Wine, silent as a deployment tool runs it: files where asked, the
# uninstaller registered, the current screen saver set only when asked, the installed saver
# running, and a silent uninstall leaving nothing of ours behind: the user's settings only
# when the user agrees.
source "$(dirname "$0")/common.sh"
[ -f "$VEXLUM_SETUP" ] || fail "no installer at $VEXLUM_SETUP (is nsis installed?)"
work=$(mktemp -d)
drive_c=$WINEPREFIX/drive_c
target=vexlum-install-test-$$
mounted=
trap 'pkill -P $$ 2>/dev/null || true; [ -z "$mounted" ] || umount "$mounted"; rm -rf "$work" "${drive_c:?}/$target"' EXIT

reg_value() {  # KEY NAME: the value's data, or nothing
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
desktop='HKCU\Control Panel\Desktop'
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Vexlum'
wine reg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null 2>&1 || true

# Waits for a silent uninstaller: it copies itself away and returns before it has finished.
uninstall() {  # FOLDER(unix) ARGS...
  local folder=$1
  shift
  wine "$folder/uninstall.exe" "$@" || fail "the uninstaller failed"
  for _ in $(seq 100); do [ -e "$folder/uninstall.exe" ] || break; sleep 0.2; done
  sleep 1
}

# For all users, into a folder of our choice, without making it the current saver.
must_end_within 60 wine "$VEXLUM_SETUP" /S /AllUsers "/D=C:\\$target" || fail "the silent install failed"
for f in vexlum.scr Vexlum_Data.ppd README.txt LICENSE.txt THIRD_PARTY_NOTICES.txt uninstall.exe; do
  [ -f "$drive_c/$target/$f" ] || fail "$f not installed"
done
[ "$(reg_value "HKLM\\$uninstall_key" InstallLocation)" = "C:\\$target" ] ||
  fail "the uninstaller is not registered for all users"
[ -z "$(reg_value "$desktop" SCRNSAVE.EXE)" ] || fail "made the current saver without being asked"

# The installed saver runs, and needs nothing but what was installed.
must_end_within 120 wine "$drive_c/$target/vexlum.scr" /s --windowed 320x240 --frames 50 \
  --screenshot "$work/installed.png" >/dev/null 2>&1 || fail "the installed saver failed"
gt "$(lit_fraction "$work/installed.png")" 0.001 || fail "the installed saver drew nothing"

# Installed where the user cannot write (as under Program Files): the settings come from the
# user's application data, and the dialog saves them there. Root writes anywhere, so the
# folder is made read-only by mounting it so; where mounting is not allowed the fallback is
# left to windows.platform's test of it.
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
if mount --bind "$drive_c/$target" "$drive_c/$target" 2>/dev/null; then
  mounted=$drive_c/$target
  mount -o remount,bind,ro "$mounted" || fail "cannot make the folder read-only"
  mkdir -p "$appdata/Vexlum"
  printf '[Section]\r\nLimite=77\r\n' >"$appdata/Vexlum/Vexlum.ini"
  must_end_within 120 wine "$mounted/vexlum.scr" /s --windowed 320x240 --frames 50 \
    --screenshot "$work/read-only.png" >/dev/null 2>&1 || fail "the saver failed in a read-only folder"
  [ -s "$work/read-only.png" ] || fail "no screenshot from the read-only folder"
  open_dialog "$mounted/vexlum.scr"
  [ "$(dialog_values)" = "21 18 77 20 " ] ||
    fail "the settings were not read from the application data: $(dialog_values)"
  click 286 272  # 設定
  dialog_closed
  grep -q "^Kind=" "$appdata/Vexlum/Vexlum.ini" || fail "Save did not write to the application data"
  [ ! -e "$mounted/Vexlum.ini" ] || fail "Save wrote beside the program"
  umount "$mounted"
  mounted=
  rm -r "$appdata/Vexlum"
else
  echo "the folder cannot be mounted read-only here: that case is left to windows.platform"
fi

uninstall "$drive_c/$target" /AllUsers /S
[ ! -e "$drive_c/$target" ] || fail "left behind: $(ls -A "$drive_c/$target")"
[ -z "$(reg_value "HKLM\\$uninstall_key" InstallLocation)" ] || fail "the uninstaller stays registered"

# For the user alone, into the default folder, made the current saver.
must_end_within 60 wine "$VEXLUM_SETUP" /S /CurrentUser /SETSAVER || fail "the per-user install failed"
folder=$(reg_value "HKCU\\$uninstall_key" InstallLocation)
[ -n "$folder" ] || fail "the per-user uninstaller is not registered"
unix_folder=$(winepath -u "$folder" 2>/dev/null)
[ -f "$unix_folder/vexlum.scr" ] || fail "not installed in $folder"
saver=$(reg_value "$desktop" SCRNSAVE.EXE)
[ "$(winepath -u "$saver" 2>/dev/null)" -ef "$unix_folder/vexlum.scr" ] ||
  fail "the current saver is '$saver', not the installed one"

# The settings a user saved stay when the silent uninstaller is not told to remove them...
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
mkdir -p "$appdata/Vexlum"
printf '[Section]\r\nLimite=50\r\n' >"$appdata/Vexlum/Vexlum.ini"
uninstall "$unix_folder" /CurrentUser /S
[ ! -e "$unix_folder" ] || fail "left behind: $(ls -A "$unix_folder")"
[ -z "$(reg_value "$desktop" SCRNSAVE.EXE)" ] || fail "the current saver still names the removed one"
[ -f "$appdata/Vexlum/Vexlum.ini" ] || fail "the user's settings were removed without asking"

# ...and go when the user agrees.
must_end_within 60 wine "$VEXLUM_SETUP" /S /CurrentUser || fail "the second per-user install failed"
uninstall "$unix_folder" /CurrentUser /S /REMOVESETTINGS
[ ! -e "$appdata/Vexlum" ] || fail "the settings stayed though the user agreed to remove them"
[ ! -e "$unix_folder" ] || fail "left behind: $(ls -A "$unix_folder")"
[ -z "$(run_folders)" ] || fail "left behind: $(run_folders)"
echo "windows installer test passed"
