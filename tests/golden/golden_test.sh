#!/usr/bin/env bash
# Golden pictures: three seeded off-screen runs must draw exactly the committed pictures.
# Any change to the scene's arithmetic, its random draws, its draw order or the device's
# rendering shows up here as a pixel difference.
#
# When a change is meant to alter the picture, look at the new pictures first, then refresh:
#   VEXLUM_GOLDEN_REFRESH=1 ctest --test-dir build/test -R golden
# and commit tests/golden/*.png with the change that explains them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy

# case NAME SETTINGS-FILE-TEXT [extra options]: a private copy of the program (so the
# settings file is the case's own) rendering 400 frames at 800 x 600, seed 7, without X.
run_case() {
  local name=$1 ini=$2
  shift 2
  mkdir "$work/$name"
  cp "$VEXLUM" "$(dirname "$VEXLUM")/Vexlum_Data.ppd" "$work/$name/"
  [ -z "$ini" ] || printf '%b' "$ini" >"$work/$name/Vexlum.ini"
  env -u DISPLAY -u XSCREENSAVER_WINDOW "$work/$name/vexlum" /s --windowed 800x600 --seed 7 \
    --frames 400 --screenshot "$work/$name.png" "$@" >"$work/$name.log" 2>&1
}

run_case default "" &
p1=$!
run_case title "" --title "Hello World" &
p2=$!
run_case letters '[Section]\r\nKind=1\r\nLimite=200\r\n' &
p3=$!
status=0
for p in $p1 $p2 $p3; do wait "$p" || status=1; done
if [ "$status" -ne 0 ]; then
  cat "$work"/*.log
  echo "FAIL: a golden run failed"
  exit 1
fi

failed=0
for name in default title letters; do
  if [ -n "${VEXLUM_GOLDEN_REFRESH:-}" ]; then
    cp "$work/$name.png" "$here/$name.png"
    echo "refreshed tests/golden/$name.png"
    continue
  fi
  cmp -s "$work/$name.png" "$here/$name.png" && continue
  # The encoder may differ while the pixels do not: count the pixels that changed.
  diff=$(compare -metric AE "$work/$name.png" "$here/$name.png" null: 2>&1 || true)
  if [ "$diff" != "0" ]; then
    cp "$work/$name.png" "${TMPDIR:-/tmp}/vexlum-golden-$name.png"
    echo "FAIL: $name differs from tests/golden/$name.png in $diff pixels;" \
      "the new picture is ${TMPDIR:-/tmp}/vexlum-golden-$name.png"
    failed=1
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "If the change is meant to alter the picture: VEXLUM_GOLDEN_REFRESH=1 ctest -R golden"
  exit 1
fi
echo "golden pictures: ok"
