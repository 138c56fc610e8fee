#!/usr/bin/env bash
# Runs one Windows program under Wine with the environment of wine-env.sh.
# Wine's background services would inherit our stdout and keep ctest waiting,
# so the program's output goes through a file.
out=$(mktemp)
"${WINELOADER:-/usr/lib/wine/wine64}" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"; rm -f "$out"
exit $rc
