#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a while, one after another, and fails when
# one of them finds a crash. It builds nothing.
#
#   bash tests/fuzz/run.sh [SECONDS [BUILD_FOLDER]]
#
# SECONDS is each target's time (default 60); BUILD_FOLDER is the fuzz build (default
# build/fuzz in the checkout). Each target starts from tests/fuzz/corpus_TARGET/ (ini_fuzz from
# tests/fuzz/corpus/), copied to a scratch folder with everything a run writes, so the
# checkout is never written to; tests/fuzz/TARGET.dict is used when present. The scratch folder
# is removed after a clean run and kept, with the crash's reproducer, after a failed one.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
SECONDS_EACH=${1:-60}
BUILD=${2:-$ROOT/build/fuzz}

if ! [[ $SECONDS_EACH =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: bash tests/fuzz/run.sh [SECONDS [BUILD_FOLDER]]  (SECONDS a whole number > 0)" >&2
  exit 2
fi

TARGETS=()
if [ -d "$BUILD/tests" ]; then
  BUILD=$(cd "$BUILD" && pwd)  # the targets run from their scratch folders
  while IFS= read -r target; do TARGETS+=("$target"); done < <(
    find "$BUILD/tests" -maxdepth 1 -type f -name '*_fuzz' -perm -u+x | sort)
fi
if [ ${#TARGETS[@]} -eq 0 ]; then
  cat >&2 <<EOF
No fuzz targets in $BUILD/tests. Build them first (clang with libFuzzer is needed), in
$ROOT:

  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \\
    -DVEXLUM_CORE_ONLY=ON -DVEXLUM_FUZZ=ON
  cmake --build build/fuzz

(or name your own build folder as the second argument)
EOF
  exit 1
fi

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/vexlum-fuzz-run-XXXXXX")
FAILED=()

# Undefined behaviour ends the run like a crash instead of a line in the log.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

for binary in "${TARGETS[@]}"; do
  name=$(basename "$binary")
  work=$SCRATCH/$name
  mkdir -p "$work/corpus" "$work/artifacts" "$work/tmp"
  seeds=$ROOT/tests/fuzz/corpus_$name
  [ "$name" = ini_fuzz ] && [ ! -d "$seeds" ] && seeds=$ROOT/tests/fuzz/corpus
  [ -d "$seeds" ] && cp -R "$seeds"/. "$work/corpus/"
  options=(-max_total_time="$SECONDS_EACH" -print_final_stats=1 -timeout=30
    -artifact_prefix="$work/artifacts/")
  case $name in
    data_pack_fuzz) options+=(-max_len=32768) ;;  # two small 512 x 512 pictures
    *) options+=(-max_len=4096) ;;
  esac
  [ -f "$ROOT/tests/fuzz/$name.dict" ] && options+=(-dict="$ROOT/tests/fuzz/$name.dict")

  echo "== $name for $SECONDS_EACH s"
  # In the scratch folder, with it as TMPDIR, so that what a target writes stays there (for
  # targets that honour TMPDIR).
  (cd "$work" && TMPDIR=$work/tmp "$binary" "${options[@]}" "$work/corpus" >"$work/log" 2>&1)
  status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log" | tail -n 1
  grep -E '^stat::' "$work/log" | sed 's/^/   /'
  if [ $status -ne 0 ]; then
    FAILED+=("$name")
    echo "!! $name failed (exit status $status); the end of its log ($work/log):"
    tail -n 40 "$work/log"
    reproducer=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$work/log" | tail -n 1)
    if [ -n "$reproducer" ]; then
      echo "!! reproducer: $reproducer"
      echo "!! run it again with: $binary $reproducer"
    fi
  fi
done

if [ ${#FAILED[@]} -ne 0 ]; then
  echo "Fuzzing failed: ${FAILED[*]} (logs and reproducers kept in $SCRATCH)"
  exit 1
fi
rm -rf "$SCRATCH"
echo "Fuzzing passed: ${#TARGETS[@]} targets, $SECONDS_EACH s each."
