#!/usr/bin/env bash
# Sets up, builds both architectures and runs every test: the static checks of the
# shipped i686 Bootlog.dll, and the x86_64 test programs under Wine on an X display in a
# throw-away Wine prefix (its drive_c is the c:\ of the tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
build=${BOOTLOG_BUILD_DIR:-$root/build}
# What this script starts ends with it, however it ends: the Wine servers of its prefixes
# and the Xvfb that wine-env.sh may start.
servers=()
cleanup() {
  local entry
  for entry in "${servers[@]}"; do
    WINEPREFIX=${entry#*|} "${entry%%|*}" -k >/dev/null 2>&1 || true
  done
  [ -n "${BOOTLOG_XVFB_PID:-}" ] && kill "$BOOTLOG_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM
servers+=("/usr/lib/wine/wineserver|$build/wineprefix-test" "/usr/lib/wine/wineserver|$build/wineprefix-120dpi")
source "$root/scripts/wine-env.sh" "$build/wineprefix-test" fresh
# Drives of every kind the drive list knows, as Wine lets a prefix declare them; the
# server restarts so that Wine's mount manager reads them.
drives=$build/wine-drives
rm -rf "$drives"; mkdir -p "$drives"/{floppy,cdrom,ram,net}
printf 'Daten CD' >"$drives/cdrom/.windows-label"
declare_drives() {
  printf 'Bootplatte' >"$WINEPREFIX/drive_c/.windows-label"
  for d in a,floppy,floppy d,cdrom,cdrom r,ram,ramdisk x,net,network; do
    IFS=, read -r letter dir kind <<<"$d"
    letter=$letter:
    ln -sfn "$drives/$dir" "$WINEPREFIX/dosdevices/$letter"
    "$WINELOADER" reg add 'HKLM\Software\Wine\Drives' /v "$letter" /d "$kind" /f >/dev/null 2>&1
  done
  # A network share, \\server\share, which Wine looks up under dosdevices/unc.
  mkdir -p "$drives/share" "$WINEPREFIX/dosdevices/unc/server"
  ln -sfn "$drives/share" "$WINEPREFIX/dosdevices/unc/server/share"
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
}
declare_drives
export BOOTLOG_WINE_DRIVES="a:floppy d:cdrom r:ram x:network"
export BOOTLOG_WINE_SHARE='\\server\share'
# A second prefix whose screen runs at 120 dots per inch, with the same drives.
(
  source "$root/scripts/wine-env.sh" "$build/wineprefix-120dpi" fresh
  "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f >/dev/null 2>&1
  declare_drives
)
export BOOTLOG_PREFIX_120DPI=$build/wineprefix-120dpi
export BOOTLOG_SOURCE_DIR=$root
export BOOTLOG_I686_DIR=$build/i686
status=0
ctest --test-dir "$build/x86_64" --output-on-failure -j "$(nproc)" "$@" || status=$?

# The shipped i686 Bootlog.dll itself, loaded and driven by 32-bit host-like tests under
# 32-bit Wine, where this machine runs 32-bit code.
if [ -f "$build/i686-tests/CTestTestfile.cmake" ] && bash "$root/scripts/can-run-32bit.sh"; then
  echo "shipped i686 DLL: running the host-like tests against $build/i686/bin/Bootlog.dll"
  export BOOTLOG_PREFIX_WIN32=$build/wineprefix-win32
  export BOOTLOG_PREFIX_WIN32_120DPI=$build/wineprefix-win32-120dpi
  # Listed before they start, so that an interrupt ends them too.
  servers+=("/usr/lib/wine/wineserver32|$BOOTLOG_PREFIX_WIN32" "/usr/lib/wine/wineserver32|$BOOTLOG_PREFIX_WIN32_120DPI")
  (
    source "$root/scripts/wine-env.sh" "$BOOTLOG_PREFIX_WIN32_120DPI" fresh win32
    "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f >/dev/null 2>&1
  )
  source "$root/scripts/wine-env.sh" "$BOOTLOG_PREFIX_WIN32" fresh win32
  ctest --test-dir "$build/i686-tests" --output-on-failure -j "$(nproc)" "$@" || status=$?
else
  echo "shipped i686 DLL: not run, this machine cannot execute 32-bit code"
fi
exit $status
