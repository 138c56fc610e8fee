#!/usr/bin/env bash
# Runs one Windows program under Wine with the environment of wine-env.sh.
# Wine's background services would inherit our stdout and keep ctest waiting,
# so the program's output goes through a file.
# Tests of a screen at 120 dots per inch run in a prefix of their own.
if [ -n "${BOOTLOG_USE_120DPI:-}" ] && [ -n "${BOOTLOG_PREFIX_120DPI:-}" ]; then
  export WINEPREFIX=$BOOTLOG_PREFIX_120DPI
fi
out=$(mktemp)
"${WINELOADER:-/usr/lib/wine/wine64}" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"; rm -f "$out"
exit $rc
