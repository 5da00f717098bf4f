#!/usr/bin/env bash
# Installs what building and running setup needs on a Debian machine:
# MinGW-w64 for i686, Wine with its 32-bit half, a virtual X display,
# ImageMagick for screenshots, a Korean locale and a Korean font, libzstd
# for the medium builder, zstd's source package for the decoder that
# _SETUP.DLL builds in, and clang with its libFuzzer runtime for the fuzz
# targets.
# Safe to run again: it only installs what is missing.
set -euo pipefail

SUDO=
[ "$(id -u)" = 0 ] || SUDO=sudo

packages=(cmake g++ make googletest libgtest-dev
          wine wine32:i386 wine64 g++-mingw-w64-i686 mingw-w64-tools libz-mingw-w64-dev
          xvfb xdotool x11-utils imagemagick fonts-nanum fonts-liberation locales zlib1g-dev libzstd-dev dpkg-dev nsis
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

# zstd's source, from the Debian archive this machine already uses, for the
# decoder the build compiles into _SETUP.DLL (cmake finds it here; none of
# it goes into the repository).
zstd_src=/usr/local/src/corvane-zstd
if ! ls -d "$zstd_src"/*/lib/decompress >/dev/null 2>&1; then
  if ! apt-get indextargets --format '$(TARGET_OF)' 2>/dev/null | grep -qx deb-src; then
    # The archive and suite of the first Debian "deb" entry, one-line or deb822.
    source_entry=$(
      { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
          awk '$1 == "deb" && $2 !~ /^\[/ { print $2, $3 }'
        cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
          awk '/^Types:/ { deb = / deb( |$)/ } deb && /^URIs:/ { u = $2 } deb && /^Suites:/ { print u, $2 }'
      } | grep -m 1 debian || true)
    read -r uri suite <<<"$source_entry"
    [ -n "$uri" ] || { echo "setup-machine: no Debian archive in apt's sources" >&2; exit 1; }
    echo "setup-machine: adding the source entry for $uri $suite"
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$uri" "$suite" | $SUDO tee /etc/apt/sources.list.d/corvane-src.sources >/dev/null
    $SUDO apt-get update -qq
  fi
  echo "setup-machine: fetching zstd's source into $zstd_src"
  $SUDO mkdir -p "$zstd_src"
  (cd "$zstd_src" && $SUDO apt-get source -qq zstd >/dev/null)
fi
