#!/usr/bin/env bash
# Runs one 32-bit Windows program under the 32-bit Wine loader, in the win32 prefixes
# that scripts/test.sh makes (BOOTLOG_PREFIX_WIN32, and BOOTLOG_PREFIX_WIN32_120DPI for
# the tests of a screen at 120 dots per inch).
export WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32 WINEARCH=win32
export WINEPREFIX=${BOOTLOG_PREFIX_WIN32:?the win32 prefix of scripts/test.sh}
export BOOTLOG_PREFIX_120DPI=${BOOTLOG_PREFIX_WIN32_120DPI:-}
exec bash "$(dirname "$0")/wine-run.sh" "$@"
