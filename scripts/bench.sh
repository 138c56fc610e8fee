#!/usr/bin/env bash
# Sets up, builds and runs every benchmark (bench/*_bench.cpp) under Wine in a throw-away
# prefix: the x86_64 ones, and where this machine runs 32-bit code those that load the
# shipped i686 Bootlog.dll; then prints the size of that DLL with and without its symbols.
# Benchmarks print what they measure; they assert nothing.
# Usage: bench.sh [NAME]  NAME runs that benchmark alone (folder, or folder_bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
only=${1:-}
only=${only%.exe}
only=${only%_bench}
if [ -n "$only" ] && [ ! -f "$root/bench/${only}_bench.cpp" ]; then
  echo "bench.sh: no benchmark '$only'; there are:" $(cd "$root/bench" && ls *_bench.cpp | sed 's/_bench.cpp//') >&2
  exit 2
fi
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
build=${BOOTLOG_BUILD_DIR:-$root/build}
# Everything from here on (X server, Wine servers, the benchmarks) runs on one processor,
# as on the single-processor machines the module is for.  Spread over two processors of a
# virtual machine, each request to the Wine server waits for the other processor to wake
# up: 3 microseconds become 60, at random, and the runs with them.
# BOOTLOG_BENCH_ALL_CPUS=1 leaves the processors to the system.
if [ -z "${BOOTLOG_BENCH_ALL_CPUS:-}" ] && command -v taskset >/dev/null; then
  taskset -pc 0 $$ >/dev/null
  echo "== benchmarks pinned to processor 0 (BOOTLOG_BENCH_ALL_CPUS=1: all processors)"
fi
source "$root/scripts/wine-env.sh" "$build/wineprefix-bench" fresh
# The large folders are made once, natively (in seconds; under Wine they took more than
# 25 minutes), and kept beside the prefixes: moved into c:\ of the fresh prefix for the
# run and back out after it.
kept=$build/bench-folders
python3 "$root/scripts/bench-folders.py" "$kept"
moved=()
prefix32=""
cleanup() {
  local name
  for name in "${moved[@]}"; do
    [ -d "$WINEPREFIX/drive_c/$name" ] && mv "$WINEPREFIX/drive_c/$name" "$kept/" || true
  done
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "$prefix32" ] && WINEPREFIX=$prefix32 /usr/lib/wine/wineserver32 -k >/dev/null 2>&1 || true
  [ -n "${BOOTLOG_XVFB_PID:-}" ] && kill "$BOOTLOG_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM
for dir in "$kept"/*/; do
  name=$(basename "$dir")
  moved+=("$name")
  mv "$kept/$name" "$WINEPREFIX/drive_c/$name"
done
bin=$build/x86_64/bin
for exe in "$bin"/${only:-*}_bench.exe; do
  [ -f "$exe" ] || continue
  echo "== x86_64: $(basename "$exe")"
  (cd "$bin" && bash "$root/scripts/wine-run.sh" "$exe") || echo "(exit status $?)"
done
# The shipped i686 module, where this machine runs 32-bit code.
if [ -d "$build/i686-tests/bin" ] && [ -x /usr/lib/wine/wine ] && bash "$root/scripts/can-run-32bit.sh"; then
  export BOOTLOG_PREFIX_WIN32=$build/wineprefix-bench32
  prefix32=$BOOTLOG_PREFIX_WIN32
  ( source "$root/scripts/wine-env.sh" "$BOOTLOG_PREFIX_WIN32" fresh win32 )
  for exe in "$build/i686-tests/bin"/${only:-*}_bench.exe; do
    [ -f "$exe" ] || continue
    echo "== i686 (shipped Bootlog.dll): $(basename "$exe")"
    (cd "$build/i686-tests/bin" && bash "$root/scripts/wine32-run.sh" "$exe") || echo "(exit status $?)"
  done
else
  echo "== i686: not run, this machine cannot execute 32-bit code"
fi
# The build ships the DLL stripped and keeps a copy with its symbols.
echo "== i686 Bootlog.dll: $(stat -c %s "$build/i686/bin/Bootlog.dll") bytes shipped (stripped)," \
  "$(stat -c %s "$build/i686/symbols/Bootlog.dll") bytes with symbols"
