#!/usr/bin/env bash
# bash tests/fuzz/run.sh [SECONDS [BUILD_FOLDER]]: runs each libFuzzer target of a fuzz build
# (default build/fuzz) for SECONDS (default 60) from a scratch copy of its seeds, with the
# scratch folder as working folder and TMPDIR, so the checkout is never written to. Builds
# nothing; fails, keeping the scratch folder and naming the reproducer, when a target does.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
FUZZ=$ROOT/tests/fuzz SECONDS_EACH=${1:-60} BUILD=${2:-$ROOT/build/fuzz}
[[ $SECONDS_EACH =~ ^[1-9][0-9]*$ ]] || {
  echo "usage: bash tests/fuzz/run.sh [SECONDS [BUILD_FOLDER]]  (SECONDS a whole number > 0)" >&2
  exit 2; }
[ -d "$BUILD" ] && BUILD=$(cd "$BUILD" && pwd)
TARGETS=()
[ -d "$BUILD/tests" ] && mapfile -t TARGETS < <(
  find "$BUILD/tests" -maxdepth 1 -type f -name '*_fuzz' -perm -u+x | sort)
if [ ${#TARGETS[@]} -eq 0 ]; then
  echo "No fuzz targets in $BUILD/tests. Build them first (clang with libFuzzer), in $ROOT:
  cmake --preset fuzz && cmake --build --preset fuzz" >&2
  exit 1
fi

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/vexlum-fuzz-run-XXXXXX")
FAILED=()
# Undefined behaviour ends the run like a crash instead of a line in the log.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$FUZZ/lsan.supp:print_suppressions=0}
for binary in "${TARGETS[@]}"; do
  name=$(basename "$binary")
  work=$SCRATCH/$name
  mkdir -p "$work/corpus" "$work/artifacts" "$work/tmp"
  seeds=$FUZZ/corpus_$name
  [ -d "$seeds" ] || [ "$name" != ini_fuzz ] || seeds=$FUZZ/corpus
  [ -d "$seeds" ] && cp -R "$seeds"/. "$work/corpus/"
  max_len=4096
  [ "$name" = data_pack_fuzz ] && max_len=32768  # two small 512 x 512 pictures
  options=(-max_total_time="$SECONDS_EACH" -print_final_stats=1 -timeout=30 -max_len=$max_len
    -artifact_prefix="$work/artifacts/")
  [ -f "$FUZZ/$name.dict" ] && options+=(-dict="$FUZZ/$name.dict")
  echo "== $name for $SECONDS_EACH s"
  (cd "$work" && TMPDIR=$work/tmp "$binary" "${options[@]}" "$work/corpus" >"$work/log" 2>&1)
  status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log" | tail -n 1
  sed -n 's/^stat::/   stat::/p' "$work/log"
  [ $status -eq 0 ] && continue
  FAILED+=("$name")
  echo "!! $name failed (exit status $status); the end of its log ($work/log):"
  tail -n 40 "$work/log"
  reproducer=$(sed -n 's/.*Test unit written to //p' "$work/log" | tail -n 1)
  [ -n "$reproducer" ] && echo "!! reproducer: $reproducer
!! run it again with: $binary $reproducer"
done
if [ ${#FAILED[@]} -ne 0 ]; then
  echo "Fuzzing failed: ${FAILED[*]} (logs and reproducers kept in $SCRATCH)"
  exit 1
fi
rm -rf "$SCRATCH"
echo "Fuzzing passed: ${#TARGETS[@]} targets, $SECONDS_EACH s each."
