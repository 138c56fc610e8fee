#!/usr/bin/env bash
# Configures and builds the trees under build/ (BOOTLOG_BUILD_DIR replaces it):
#   i686        the shipped Bootlog.dll (with its stand-in OrvaneHelp.dll), built for size;
#   x86_64      the same sources with the help library, demo host, tests and benchmarks,
#               which run under 64-bit Wine;
#   i686-tests  only where the machine runs 32-bit code: the host-like tests, benchmark
#               and demo host for i686, which load the Bootlog.dll of build/i686.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
gen=()
command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
build=${BOOTLOG_BUILD_DIR:-$root/build}
for arch in i686 x86_64; do
  dir=$build/$arch
  tests=ON type=Release
  # The shipped module is built for size: opening a window is not where speed matters.
  [ "$arch" = i686 ] && tests=OFF type=MinSizeRel
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=$type \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" -DBOOTLOG_TESTS=$tests >/dev/null
  fi
  cmake --build "$dir" -j "$jobs"
done
# Where 32-bit Wine runs, the host-like tests and the demo host are built for i686 too;
# they load the Bootlog.dll of build/i686 itself.
if bash "$root/scripts/can-run-32bit.sh" && [ -x /usr/lib/wine/wine ]; then
  dir=$build/i686-tests
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-tests.cmake" -DBOOTLOG_TESTS=ON \
      -DBOOTLOG_SHIPPED_DIR="$build/i686" >/dev/null
  fi
  cmake --build "$dir" -j "$jobs"
fi
