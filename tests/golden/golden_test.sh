#!/usr/bin/env bash
# Golden pictures: three seeded off-screen runs must draw exactly the committed pictures, and so
# must the first of them drawn in a window on an X server, where the saver draws straight into
# the window's buffers, rows and winding turned the other way. window.png differs from
# default.png in a few pixels only: X offers no double-buffered window with a 16-bit depth
# buffer, and with 24 bits a few glyphs at almost equal depth hide each other the other way.
# Any change to the scene's arithmetic, its random draws, its draw order or the device's
# rendering shows up here as a pixel difference.
#
# When a change is meant to alter the picture, look at the new pictures first, then refresh:
#   VEXLUM_GOLDEN_REFRESH=1 ctest --test-dir build/test -R golden
# and commit tests/golden/*.png with the change that explains them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb=
trap '[ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy

# A private X server for the windowed case, so its window meets no other test's saver.
if command -v Xvfb >/dev/null; then
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
fi

# case NAME DISPLAY SETTINGS-FILE-TEXT [extra options]: a private copy of the program (so the
# settings file is the case's own) rendering 400 frames at 800 x 600, seed 7, on DISPLAY or,
# when it is empty, without X.
run_case() {
  local name=$1 display=$2 ini=$3
  shift 3
  mkdir "$work/$name"
  cp "$VEXLUM" "$(dirname "$VEXLUM")/Vexlum_Data.ppd" "$work/$name/"
  [ -z "$ini" ] || printf '%b' "$ini" >"$work/$name/Vexlum.ini"
  env -u DISPLAY -u XSCREENSAVER_WINDOW ${display:+DISPLAY=$display} "$work/$name/vexlum" /s \
    --windowed 800x600 --seed 7 --frames 400 --screenshot "$work/$name.png" "$@" \
    >"$work/$name.log" 2>&1
}

run_case default "" "" &
p1=$!
run_case title "" "" --title "Hello World" &
p2=$!
run_case letters "" '[Section]\r\nKind=1\r\nLimite=200\r\n' &
p3=$!
pids="$p1 $p2 $p3"
if [ -s "$work/display" ]; then
  run_case window ":$(head -n1 "$work/display")" "" &
  pids="$pids $!"
else
  echo "no Xvfb: the windowed case is left out"
fi
status=0
for p in $pids; do wait "$p" || status=1; done
if [ "$status" -ne 0 ]; then
  cat "$work"/*.log
  echo "FAIL: a golden run failed"
  exit 1
fi

failed=0
for name in default title letters window; do
  [ -e "$work/$name.png" ] || continue
  golden=$here/$name.png
  if [ -n "${VEXLUM_GOLDEN_REFRESH:-}" ]; then
    cp "$work/$name.png" "$golden"
    echo "refreshed tests/golden/$name.png"
    continue
  fi
  cmp -s "$work/$name.png" "$golden" && continue
  # The encoder may differ while the pixels do not: count the pixels that changed.
  diff=$(compare -metric AE "$work/$name.png" "$golden" null: 2>&1 || true)
  if [ "$diff" != "0" ]; then
    cp "$work/$name.png" "${TMPDIR:-/tmp}/vexlum-golden-$name.png"
    echo "FAIL: $name differs from $golden in $diff pixels;" \
      "the new picture is ${TMPDIR:-/tmp}/vexlum-golden-$name.png"
    failed=1
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "If the change is meant to alter the picture: VEXLUM_GOLDEN_REFRESH=1 ctest -R golden"
  exit 1
fi
echo "golden pictures: ok"
