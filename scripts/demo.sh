#!/usr/bin/env bash
# Sets up, builds, and opens the tip window in the demo host under Wine.  On an X display
# that answers, the host stays open until it is closed; otherwise it runs on Xvfb, and a
# screenshot is saved and its path printed.  Extra arguments go to the demo host
# (e.g. /lang 1 /os 13 /mask 4609).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
had_display=""
if [ -n "${DISPLAY:-}" ] && timeout 5 xdpyinfo >/dev/null 2>&1; then had_display=1; fi
build=${BOOTLOG_BUILD_DIR:-$root/build}
# The shipped i686 module in a 32-bit host where this machine runs 32-bit code, else the
# x86_64 build of the same sources.
if [ -x "$build/i686-tests/bin/DemoHost.exe" ] && [ -x /usr/lib/wine/wine ] &&
   bash "$root/scripts/can-run-32bit.sh"; then
  source "$root/scripts/wine-env.sh" "$build/wineprefix-demo32" "" win32
  host="$build/i686-tests/bin/DemoHost.exe"
  echo "demo: the 32-bit demo host with the shipped i686 Bootlog.dll ($build/i686/bin)"
else
  source "$root/scripts/wine-env.sh" "$build/wineprefix-demo"
  host="$build/x86_64/bin/DemoHost.exe"
  echo "demo: the 64-bit demo host with the x86_64 build of Bootlog.dll (this machine cannot execute 32-bit code)"
fi
# What this script starts ends with it, however it ends.
host_pid=""
cleanup() {
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null || true
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${BOOTLOG_XVFB_PID:-}" ] && kill "$BOOTLOG_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# A machine of the kind the tip is for: an AUTOEXEC.BAT to hook into and a log to show.
c="$WINEPREFIX/drive_c"
[ -f "$c/AUTOEXEC.BAT" ] || printf '@echo off\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\nSET TEMP=C:\\TEMP\r\n' >"$c/AUTOEXEC.BAT"
mkdir -p "$c/TOOLS"
[ -f "$c/winboot.log" ] || printf 'Aktuelles Datum: Di 08.12.2026\r\nAktuelle Zeit: 8:02:11,45\r\n \r\n' >"$c/winboot.log"
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(/open)
if [ -n "$had_display" ]; then
  "$WINELOADER" "$host" "${args[@]}"
else
  "$WINELOADER" "$host" "${args[@]}" >/dev/null 2>&1 &
  host_pid=$!
  sleep "${DEMO_WAIT:-6}"
  shot="$build/demo-screenshot.png"
  import -display "$DISPLAY" -window root "$shot"
  echo "Screenshot of the demo host and the tip window: $shot"
fi
