#!/usr/bin/env bash
# The one command to see setup: installs what is missing, builds, lays out the
# sample setup medium in build/medium (the shipping programs, the real support
# library and its payload store), makes a fresh Windows 98 prefix in
# build/prefix/run and starts the wizard under Wine.
#   With DISPLAY set: the wizard opens on that display for you to walk.
#   Without: it runs on a private virtual display, where the end-to-end driver
#   walks every page and saves a screenshot of each in build/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup-machine.sh
scripts/build.sh

# The sample medium, as it ships: mkmedium packs the product programs of the
# shipping build (build/dist) into the payload store _SETUP.PAK beside the
# real _SETUP.DLL, writes SETUP.INI from the sample product's list and adds
# SETUP.EXE, MemChk.exe, _ISDEL.EXE and Corvane.dll.
medium=$root/build/medium
rm -rf "$medium"
build/host/bin/mkmedium build/dist/bin tests/e2e/medium/product.list build/dist/bin "$medium"

if [ -n "${DISPLAY:-}" ]; then
  scripts/make-prefix.sh build/prefix/template build/prefix/run
  echo "run: starting $medium/SETUP.EXE on $DISPLAY"
  CORVANE_PREFIX=$root/build/prefix/run scripts/wine-exec.sh "$medium/SETUP.EXE" || true
  WINEPREFIX=$root/build/prefix/run wineserver -w
  exit 0
fi

shots=$root/build/screenshots
rm -rf "$shots"
mkdir -p "$shots"
export CORVANE_E2E_BUILD=$root/build/win CORVANE_PREFIX_TEMPLATE=$root/build/prefix/template \
       CORVANE_E2E_PREFIX=$root/build/prefix/run CORVANE_E2E_MEDIUM_DIR=$medium CORVANE_E2E_KEEP=1 \
       CORVANE_SHOT_DIR=$shots
bash tests/e2e/run-scenario.sh tour
echo "run: screenshots in $shots:"
ls "$shots"
