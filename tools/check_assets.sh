#!/usr/bin/env bash
# Runs the asset generator twice into fresh folders: both runs must give the same bytes, and
# those bytes must be what assets/ holds (a stale commit fails here).
set -euo pipefail
generator=$1
committed=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$generator" "$work/one"
"$generator" "$work/two"
diff -r "$work/one" "$work/two" || { echo "FAIL: two runs differ"; exit 1; }
for f in "$work/one"/*; do
  name=$(basename "$f")
  cmp -s "$f" "$committed/$name" ||
    { echo "FAIL: assets/$name is stale: run vexlum_assets assets (see tools/README.md)"; exit 1; }
done
[ "$(stat -c %s "$work/one/letters.png")" -eq 227334 ] || { echo "FAIL: letters.png size"; exit 1; }
[ "$(stat -c %s "$work/one/scenery.png")" -eq 664482 ] || { echo "FAIL: scenery.png size"; exit 1; }
[ "$(stat -c %s "$work/one/Vexlum_Data.ppd")" -eq 891816 ] || { echo "FAIL: pack size"; exit 1; }
echo "assets: $(ls "$work/one" | wc -l) files, deterministic and up to date"
