#!/usr/bin/env bash
# Sets up, builds both architectures and runs every benchmark (bench/*_bench.cpp) under
# Wine in a throw-away prefix, then prints the size of the shipped i686 Bootlog.dll as
# built and stripped.  Benchmarks print what they measure; they assert nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
build=${BOOTLOG_BUILD_DIR:-$root/build}
source "$root/scripts/wine-env.sh" "$build/wineprefix-bench" fresh
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${BOOTLOG_XVFB_PID:-}" ] && kill "$BOOTLOG_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
bin=$build/x86_64/bin
for exe in "$bin"/*_bench.exe; do
  echo "== $(basename "$exe")"
  (cd "$bin" && bash "$root/scripts/wine-run.sh" "$exe") || echo "(exit status $?)"
done
dll=$build/i686/bin/Bootlog.dll
stripped=$(mktemp)
cp "$dll" "$stripped"
i686-w64-mingw32-strip "$stripped"
echo "== i686 Bootlog.dll: $(stat -c %s "$dll") bytes as built, $(stat -c %s "$stripped") bytes stripped"
rm -f "$stripped"
