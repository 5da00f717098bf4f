#!/usr/bin/env bash
# Builds both halves of the tree: build/host (native logic tests, host tools)
# and build/win (SETUP.EXE, the medium's programs and the Win32 tests).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/host -j "$jobs"
cmake -S . -B build/win -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCORVANE_HOST_BIN="$PWD/build/host/bin" >/dev/null
cmake --build build/win -j "$jobs"
