# Sourced by the build and test scripts: a throw-away Wine prefix, an X display and a
# persistent wineserver.  Usage: source scripts/wine-env.sh PREFIXDIR [fresh] [win32]
# (win32: a 32-bit prefix run by the 32-bit loader, for the shipped i686 module).
_prefix=${1:?prefix dir}
_fresh=${2:-}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ "${3:-}" = win32 ]; then
  export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
else
  unset WINEARCH
  export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver
fi
export WINEPREFIX=$(realpath -m "$_prefix")

# An X display: the caller's if it has one that answers, else our own Xvfb.
if [ -z "${DISPLAY:-}" ] || ! timeout 5 xdpyinfo >/dev/null 2>&1; then
  if [ -z "${BOOTLOG_XVFB_DISPLAY:-}" ]; then
    for n in $(seq 91 140); do
      if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then
        Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
        export BOOTLOG_XVFB_DISPLAY=:$n BOOTLOG_XVFB_PID=$!
        break
      fi
    done
  fi
  export DISPLAY=$BOOTLOG_XVFB_DISPLAY
fi

if [ -n "$_fresh" ] && [ -d "$WINEPREFIX" ]; then
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$WINELOADER" wineboot --init >/dev/null 2>&1 || true
  "$WINESERVER" -w
  # No window manager: Wine draws frames itself, which makes modal boxes fast.
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  "$WINESERVER" -w
fi
# The symbols of the title bar buttons come from this font, which Wine looks for here.
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
# One server for the whole run; its output must not hold the caller's pipes open.
"$WINESERVER" -p >/dev/null 2>&1 </dev/null
"$WINELOADER" cmd /c exit >/dev/null 2>&1 </dev/null || true
unset _prefix _fresh
