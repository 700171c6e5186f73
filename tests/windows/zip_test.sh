#!/usr/bin/env bash
# The zip a user copies by hand: made by cpack from the build being tested, named by the
# program's version, holding the program, its data pack, the README, the licence and the
# third-party notices, the texts with CR LF line ends so Notepad shows them.
source "$(dirname "$0")/common.sh"
for tool in cpack unzip; do command -v "$tool" >/dev/null || fail "needs $tool"; done
build=$(dirname "$(dirname "$VEXLUM_SCR")")
[ -f "$build/CPackConfig.cmake" ] || fail "no CPackConfig.cmake in $build"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printed=$(wine "$VEXLUM_SCR" --version | tr -d '\r')
version=${printed#vexlum }
must_end_within 120 cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
zip=$work/out/vexlum-$version-windows.zip
[ -f "$zip" ] || fail "no vexlum-$version-windows.zip: $(ls "$work/out")"

top=vexlum-$version-windows
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(printf "$top/%s\n" vexlum.scr Vexlum_Data.ppd README.txt LICENSE.txt \
  THIRD_PARTY_NOTICES.txt | sort)
[ "$listed" = "$expected" ] || fail "the zip's files differ:
$(diff <(echo "$expected") <(echo "$listed"))"

unzip -q "$zip" -d "$work/x"
for text in README.txt LICENSE.txt THIRD_PARTY_NOTICES.txt; do
  file=$work/x/$top/$text
  lines=$(wc -l <"$file")
  crlf=$(grep -c $'\r$' "$file" || true)
  [ "$lines" -gt 10 ] && [ "$crlf" -eq "$lines" ] || fail "$text: $crlf of $lines lines end in CR LF"
done
grep -q "The Vexlum authors" "$work/x/$top/LICENSE.txt" || fail "LICENSE.txt names no copyright holder"
# The runtime linked into vexlum.scr: its licences travel with it.
for notice in "Sean Barrett" "G-Truc Creation" "Bitstream" "Jean-loup Gailly" \
  "License: ZPL-2.1" "GCC RUNTIME LIBRARY EXCEPTION"; do
  grep -q "$notice" "$work/x/$top/THIRD_PARTY_NOTICES.txt" || fail "the notices lack '$notice'"
done
cmp -s "$work/x/$top/vexlum.scr" "$VEXLUM_SCR" || fail "the zip's vexlum.scr is not the one built"
echo "PASS: $(basename "$zip") holds the program, data pack, README, licence and notices"
