#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing.
# Safe to run again: it installs only missing packages.
set -euo pipefail
pkgs=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-i686
      binutils-mingw-w64-x86-64 wine64 xvfb xauth imagemagick cmake googletest ninja-build python3 x11-utils fonts-wine)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The shipped i686 module is run under 32-bit Wine where this machine runs 32-bit code.
if bash "$(dirname "$0")/can-run-32bit.sh"; then
  if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    echo "setup: this machine runs 32-bit code; installing wine32:i386 for the shipped i686 DLL"
    export DEBIAN_FRONTEND=noninteractive
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends wine32:i386 g++-mingw-w64-i686-posix >/dev/null
  fi
else
  echo "setup: this machine cannot execute 32-bit code; the shipped i686 DLL is checked statically only"
fi
