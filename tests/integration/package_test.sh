#!/usr/bin/env bash
# The Debian package: builds it with cpack from the build folder being tested, unpacks it,
# checks every installed file and XScreenSaver's config file, and runs the unpacked saver from
# a read-only tree as an ordinary user to show it writes nothing beside itself.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"
for tool in cpack dpkg-deb xmllint xdpyinfo identify lintian; do
  command -v "$tool" >/dev/null || fail "needs $tool"
done

build=$(dirname "$VEXLUM")
while [ ! -f "$build/CPackConfig.cmake" ]; do
  [ "$build" != / ] || fail "no CPackConfig.cmake above $VEXLUM"
  build=$(dirname "$build")
done

work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"  # the saver runs as another user below and must reach its tree

# --- Build the package ------------------------------------------------------------------
must_end_within 120 cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/out/vexlum_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one vexlum_*.deb, got: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vexlum ] || fail "package name is '$(field Package)'"
[ "$(field Section)" = x11 ] || fail "section is '$(field Section)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture '$(field Architecture)'"
[[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "maintainer '$(field Maintainer)' is not 'Name <address>'"
# The command that opens the settings must reach the package's description intact.
[[ "$(field Description)" == *"opens with the command: vexlum /c" ]] ||
  fail "description mangled: $(field Description)"
# One version everywhere: the program, the package, its changelog and the manual page.
printed=$("$VEXLUM" --version)
version=${printed#vexlum }
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$printed'"
[ "$(field Version)" = "$version" ] || fail "the package is version $(field Version), the program $version"
# Debian's own checks: no error and no warning (the package's few overrides say why).
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
! grep -E '^[EW]: ' "$work/lintian" || fail "lintian complains about the package:
$(cat "$work/lintian")"
depends=$(field Depends)
# Found by the library scan, so the package installs what the executable links against.
for lib in libc6 libsdl2-2.0-0 libsdl2-mixer-2.0-0 libqt6widgets6 libx11-6 libcdio; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[[ "$depends" == *qt6-qpa-plugins* ]] || fail "Depends lacks Qt's X11 platform plugin: $depends"

# --- Every file in place, nothing else ---------------------------------------------------
hack=usr/libexec/xscreensaver
config=usr/share/xscreensaver/config/vexlum.xml
dpkg-deb -c "$deb" >"$work/contents" || fail "dpkg-deb -c failed"
actual=$(awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}' "$work/contents" | sort)
expected=$(printf '%s\n' "$hack/Vexlum_Data.ppd" "$hack/vexlum" usr/bin/vexlum "$config" \
  usr/share/doc/vexlum/README.md usr/share/doc/vexlum/copyright usr/share/doc/vexlum/changelog.gz \
  usr/share/man/man6/vexlum.6.gz | sort)
[ "$actual" = "$expected" ] || fail "package files differ:
$(diff <(echo "$expected") <(echo "$actual"))"
awk '$2 != "root/root" {exit 1}' "$work/contents" || fail "files not owned by root:
$(cat "$work/contents")"

dpkg -x "$deb" "$work/root" || fail "dpkg -x failed"
root=$work/root
[ -x "$root/$hack/vexlum" ] && [ ! -L "$root/$hack/vexlum" ] || fail "no executable $hack/vexlum"
[ "$(stat -c %a "$root/$hack/vexlum")" = 755 ] || fail "$hack/vexlum mode $(stat -c %a "$root/$hack/vexlum")"
cmp -s "$root/$hack/Vexlum_Data.ppd" "$VEXLUM_SOURCE_DIR/assets/Vexlum_Data.ppd" ||
  fail "installed data pack differs from assets/Vexlum_Data.ppd"
[ "$(stat -c %a "$root/$hack/Vexlum_Data.ppd")" = 644 ] || fail "data pack mode"
[ "$(readlink -f "$root/usr/bin/vexlum")" = "$(readlink -f "$root/$hack/vexlum")" ] ||
  fail "usr/bin/vexlum does not lead to the hack: $(readlink "$root/usr/bin/vexlum")"
[[ "$(readlink "$root/usr/bin/vexlum")" != /* ]] || fail "usr/bin/vexlum is an absolute link"
zcat "$root/usr/share/doc/vexlum/changelog.gz" | head -n1 | grep -q "^vexlum ($version) " ||
  fail "the changelog's newest entry is not $version"
zcat "$root/usr/share/man/man6/vexlum.6.gz" | grep -q "^\.TH VEXLUM 6 .*\"Vexlum $version\"" ||
  fail "the manual page does not name version $version"
grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  "$root/usr/share/doc/vexlum/copyright" || fail "the copyright file is not machine-readable"

# XScreenSaver's "Documentation..." button runs "man vexlum": the page must render cleanly in
# any locale and at any width (an ASCII terminal gets the Japanese keys' code points).
for locale in C C.UTF-8 ja_JP.UTF-8; do
  for width in 60 80 100; do
    warnings=$(LANG=$locale MANWIDTH=$width man --warnings -l "$root/usr/share/man/man6/vexlum.6.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the man page in $locale at $width columns: $warnings"
  done
done
LANG=C man -l "$root/usr/share/man/man6/vexlum.6.gz" 2>/dev/null | grep -q "BGM<U+533A U+5206>" ||
  fail "an ASCII terminal does not get the music key's code points"
MANWIDTH=80 man -l "$root/usr/share/man/man6/vexlum.6.gz" 2>/dev/null | grep -q -- "-window-id" ||
  fail "the man page does not list the options"

# --- XScreenSaver's config file ----------------------------------------------------------
xml=$root/$config
xmllint --noout "$xml" || fail "$config is not well-formed XML"
xpath() { xmllint --xpath "$1" "$xml" 2>/dev/null || true; }
[ "$(xpath 'name(/*)')" = screensaver ] || fail "root element is '$(xpath 'name(/*)')'"
# XScreenSaver finds the config file by the hack's name: file, attribute and program agree.
[ "$(xpath 'string(/screensaver/@name)')" = vexlum ] || fail "screensaver name is not vexlum"
[ "$(xpath 'string(/screensaver/@_label)')" = Vexlum ] || fail "label is not Vexlum"
[ "$(xpath 'count(/screensaver/command)')" = 1 ] || fail "needs exactly one <command>"
[[ "$(xpath 'string(/screensaver/command/@arg)')" =~ ^--?root$ ]] ||
  fail "command arg is '$(xpath 'string(/screensaver/command/@arg)')', not -root"
description=$(xpath 'normalize-space(/screensaver/_description)')
[ ${#description} -ge 80 ] || fail "description too short: '$description'"
# Every option element XScreenSaver knows; anything else makes its settings window complain.
unknown=$(xpath '//*[not(self::screensaver or self::command or self::_description or
  self::xscreensaver-updater or self::video or self::number or self::boolean or self::select
  or self::option or self::hgroup or self::vgroup or self::string or self::file or
  self::xscreensaver-image or self::xscreensaver-text)]')
[ -z "$unknown" ] || fail "elements XScreenSaver does not know: $unknown"

# --- The installed copy run from a read-only tree ----------------------------------------
ro=$work/ro
cp -a "$root" "$ro"
chmod -R a-w "$ro"
home=$work/home
mkdir -p "$home/config" "$home/tmp" "$home/cache"
chmod -R 777 "$home"
snapshot() { (cd "$ro" && find . -printf '%p %y %s %m %l\n' | sort && find . -type f -exec md5sum {} + | sort); }
snapshot >"$work/before"

as_user=()
if [ "$(id -u)" -eq 0 ]; then
  # root writes anywhere whatever the modes say; an ordinary user is what a real install sees.
  command -v setpriv >/dev/null || fail "needs setpriv to run as an ordinary user"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
shot=$home/shot.png
status=0
must_end_within 60 "${as_user[@]}" env -u XDG_RUNTIME_DIR HOME="$home" XDG_CONFIG_HOME="$home/config" \
  TMPDIR="$home/tmp" XDG_CACHE_HOME="$home/cache" \
  "$ro/usr/bin/vexlum" /s --frames 50 --screenshot "$shot" >"$work/run.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/run.log"; fail "installed saver exited with $status"; }
# Root can write anywhere, but an installed program still never writes beside itself.
if [ "$(id -u)" -eq 0 ]; then
  chmod -R u+w "$ro"
  must_end_within 60 env -u XDG_RUNTIME_DIR HOME="$home" XDG_CONFIG_HOME="$home/config" \
    TMPDIR="$home/tmp" "$ro/usr/bin/vexlum" /s --frames 20 >"$work/root.log" 2>&1 ||
    { cat "$work/root.log"; fail "installed saver run as root failed"; }
  chmod -R a-w "$ro"
fi

snapshot >"$work/after"
cmp -s "$work/before" "$work/after" || fail "the saver changed its install tree:
$(diff "$work/before" "$work/after")"
[ -s "$shot" ] || fail "no screenshot"
screen=$(xdpyinfo | awk '/dimensions:/ {d = $2} END {print d}') || fail "xdpyinfo failed"
[ "$(identify -format '%m %wx%h' "$shot")" = "PNG $screen" ] ||
  fail "screenshot is not a PNG of the $screen screen: $(identify "$shot")"
brightest=$(convert "$shot" -colorspace Gray -format '%[fx:int(255*maxima)]' info:) ||
  fail "cannot read the screenshot"
[ "$brightest" -gt 60 ] || fail "screenshot is black (brightest $brightest)"
[ ! -e "$home/config/vexlum" ] || fail "the saver made a settings folder though it saves nothing"
leftover=$(find "$home/tmp" -mindepth 1)
[ -z "$leftover" ] || fail "extracted images left behind: $leftover"
echo "package integration: ok ($(basename "$deb"), $(du -k "$deb" | cut -f1) KiB)"
