#!/usr/bin/env bash
# Builds the tree three times: build/host (native logic tests, host tools,
# and the scan engine's fuzz targets built by clang), build/win (every
# program with the Win32 tests, posix thread model for GoogleTest) and
# build/dist (the medium's programs as they ship).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug -DCORVANE_ENGINE_FUZZ=ON >/dev/null
cmake --build build/host -j "$jobs"
cmake -S . -B build/win -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCORVANE_HOST_BIN="$PWD/build/host/bin" >/dev/null
cmake --build build/win -j "$jobs"
# The medium's programs as they ship: win32 thread model, Windows 95 imports.
cmake -S . -B build/dist -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686-win32.cmake \
      -DCORVANE_HOST_BIN="$PWD/build/host/bin" >/dev/null
cmake --build build/dist -j "$jobs"
