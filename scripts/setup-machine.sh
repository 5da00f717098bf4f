#!/usr/bin/env bash
# Installs what building and running setup needs on a Debian machine:
# MinGW-w64 for i686, Wine with its 32-bit half, a virtual X display,
# ImageMagick for screenshots, a Korean locale and a Korean font, libdeflate
# for the medium builder's strongest deflate, and clang with its libFuzzer
# runtime for the scan engine's fuzz targets.
# Safe to run again: it only installs what is missing.
set -euo pipefail

SUDO=
[ "$(id -u)" = 0 ] || SUDO=sudo

packages=(cmake g++ make googletest libgtest-dev
          wine wine32:i386 wine64 g++-mingw-w64-i686 mingw-w64-tools libz-mingw-w64-dev
          xvfb xdotool x11-utils imagemagick fonts-nanum fonts-liberation locales zlib1g-dev libdeflate-dev nsis
          clang libclang-rt-dev)
# The medium builder's disc image (mkmedium --iso) and its read-back.
packages+=(xorriso)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup-machine: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes the ANSI code page from the locale: ko_KR.UTF-8 gives 949.
if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.utf-\?8$'; then
  echo "setup-machine: generating ko_KR.UTF-8"
  grep -q '^ko_KR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'ko_KR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
