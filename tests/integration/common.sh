# Helpers shared by the integration test scripts. Source it; needs VEXLUM and TEST_WINDOW set.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs a command with a time limit; fails the test if it has not ended by then.
must_end_within() {
  local seconds=$1; shift
  local status=0
  timeout "$seconds" "$@" || status=$?
  [ "$status" -ne 124 ] || fail "did not end within ${seconds}s: $*"
  return "$status"
}

# Starts a test window titled $1 (optional size $2 $3); sets WINDOW_ID and WINDOW_PID.
start_window() {
  local out
  out=$(mktemp)
  "$TEST_WINDOW" "$@" >"$out" &
  WINDOW_PID=$!
  for _ in $(seq 100); do [ -s "$out" ] && break; sleep 0.05; done
  WINDOW_ID=$(head -n1 "$out")
  rm -f "$out"
  [ -n "$WINDOW_ID" ] || fail "test window did not start"
}

stop_window() { kill "$WINDOW_PID" 2>/dev/null || true; wait "$WINDOW_PID" 2>/dev/null || true; }
