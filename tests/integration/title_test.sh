#!/usr/bin/env bash
# The title sequence in the real saver: "Hello World" centred on a 1024 x 768 window, the
# flash and the band while it starts, and no title at all without --title.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display"

# A copy of the program with a settings file choosing the letters atlas, so the test neither
# writes beside the build nor depends on the settings of whoever runs it.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$VEXLUM" "$dir/vexlum"
cp "$(dirname "$VEXLUM")/Vexlum_Data.ppd" "$dir/"
printf '[Section]\nKind=1\n' >"$dir/Vexlum.ini"

# shot NAME FRAMES [--title TEXT]: the picture after FRAMES drawn frames, seeded.
shot() {
  local name=$1 frames=$2
  shift 2
  run_frames "$frames" "$dir/$name.png" "$dir/vexlum" /s "$@" --seed 1 --windowed 1024x768 \
    --uncapped
}

# Mean grey level (0..255) of a box WxH+X+Y.
mean_of() {
  convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:round(mean*255)]' info:
}

# Columns lit only along the title row: bright (> 150) in rows 375..392 and dark (< 60) 15 to
# 30 pixels above and below, where the vertical 3D columns would be lit too. Prints
# "count first last".
row_only_columns() {
  convert "$1" -colorspace gray -depth 8 -compress none pgm:- | awk '
    NR == 1 { next }
    { for (i = 1; i <= NF; ++i) v[n++] = $i }
    END {
      w = v[0]; base = 3; count = 0; lo = -1; hi = -1
      for (x = 0; x < w; ++x) {
        band = 0; around = 0
        for (y = 375; y <= 392; ++y) { p = v[base + y * w + x]; if (p > band) band = p }
        for (y = 345; y <= 360; ++y) { p = v[base + y * w + x]; if (p > around) around = p }
        for (y = 408; y <= 423; ++y) { p = v[base + y * w + x]; if (p > around) around = p }
        if (band > 150 && around < 60) { ++count; if (lo < 0) lo = x; hi = x }
      }
      print count, lo, hi
    }'
}

shot title17 17 --title "Hello World"
shot title180 180 --title "Hello World"
shot plain17 17
shot plain180 180
ls "$dir"/*.png >/dev/null
leftover=$(find "$dir" -iname 'vexlum0*.png')
[ -z "$leftover" ] || fail "image files left behind: $leftover"

# Frame 180: the eleven letters at full opacity, the effects over. 11 letters at a 19-pixel
# pitch from x = 407.5: ink from about 410 to 614, centred on 512.
read -r count first last < <(row_only_columns "$dir/title180.png")
echo "title row at frame 180: $count columns from $first to $last"
[ "$count" -ge 40 ] || fail "title letters missing ($count lit columns)"
[ "$first" -ge 400 ] && [ "$first" -le 420 ] || fail "title starts at $first"
[ "$last" -ge 602 ] && [ "$last" -le 622 ] || fail "title ends at $last"
centre2=$((first + last))
[ "$centre2" -ge 1015 ] && [ "$centre2" -le 1031 ] || fail "title not centred: $first..$last"

# Frame 17: the flash (512 x 49 from (256, 359.5)) lights the rows under the letters, and the
# band (x 132 .. 892 at half its sweep) the row right of the flash.
flash=$(mean_of "$dir/title17.png" 500x9+262+398)
band=$(mean_of "$dir/title17.png" 100x22+782+373)
echo "frame 17: flash $flash, band $band"
[ "$flash" -ge 25 ] || fail "no flash at frame 17 (mean $flash)"
[ "$band" -ge 15 ] || fail "no band at frame 17 (mean $band)"

# Without --title: no title object anywhere.
for name in plain17 plain180; do
  read -r count first last < <(row_only_columns "$dir/$name.png")
  [ "$count" -lt 25 ] || fail "$name shows a title row ($count columns, $first..$last)"
  flash=$(mean_of "$dir/$name.png" 500x9+262+398)
  [ "$flash" -le 12 ] || fail "$name is lit where the flash would be (mean $flash)"
done
echo "title integration: ok"
