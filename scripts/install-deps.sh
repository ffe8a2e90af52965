#!/usr/bin/env bash
# Installs everything the build, the demo and the tests need on a fresh Debian 12 machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

need_pkgs=(
  cmake g++ make ninja-build pkg-config
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  googletest
  xvfb xdotool imagemagick x11-utils
  libtiff-dev libtiff-tools
  locales fonts-ipafont-gothic
  clang libfuzzer-14-dev clang-format
  zip unzip strip-nondeterminism
)
need_i386=(wine wine32:i386)

missing=()
for p in "${need_pkgs[@]}" "${need_i386[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  missing+=(wine32:i386)
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A kernel without 32-bit code segments cannot start Wine's 32-bit loader: the Windows
# tests then run a 64-bit build under 64-bit Wine (scripts/wine-prefix.sh).
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  for p in wine64 g++-mingw-w64-x86-64-posix; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      echo "install-deps: this kernel runs no 32-bit code; installing $p"
      DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$p" >/dev/null
    fi
  done
fi

# The Japanese texts need the ANSI code page 932 under Wine.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "install-deps: generating ja_JP.UTF-8"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi

echo "install-deps: ready"
