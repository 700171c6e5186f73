#!/usr/bin/env bash
# The settings-file tests that need an ordinary user: root reads a file whatever its mode says,
# so a file the user cannot read (which a save must never replace) exists only for them.
source "$(dirname "$0")/common.sh"
filter='IniProfileStringsTest.*'
# A renamed suite must fail here, not pass with nothing run.
"$UNIT_TESTS" --gtest_filter="$filter" --gtest_list_tests | grep -q '^  ' || fail "no tests match $filter"
if [ "$(id -u)" -ne 0 ]; then
  "$UNIT_TESTS" --gtest_filter="$filter" --gtest_brief=1 || fail "as $(id -un)"
else
  command -v setpriv >/dev/null || fail "needs setpriv to run as an ordinary user"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  chmod 777 "$work"
  TMPDIR=$work setpriv --reuid=65534 --regid=65534 --clear-groups -- \
    "$UNIT_TESTS" --gtest_filter="$filter" --gtest_brief=1 || fail "as nobody"
fi
echo "unprivileged integration: ok"
