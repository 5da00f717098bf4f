#!/usr/bin/env bash
# Runs one end-to-end scenario of SETUP.EXE (or the driver's tour or bench) in
# a fresh copy of the Korean Windows 98 test prefix:
#   run-scenario.sh SCENARIO
# It lays out the setup medium in C:\CD (SETUP.EXE, SETUP.INI, MemChk.exe when
# built, and the doubles of _SETUP.DLL, Corvane.dll and _ISDEL.EXE), puts the
# deltree double into C:\windows\command, the library without InitInstall and
# the real _ISDEL.EXE and DELTREE.EXE (when built) into C:\e2e, a real medium
# made by mkmedium into C:\realcd (and its disc image as the CD-ROM drive D:
# for the scenarios named disc_*), the real Corvane.dll (when built) into
# C:\e2e\real and test infections made by the host's cvsample (when built)
# into C:\e2e\samples,
# runs e2e_driver.exe SCENARIO inside the prefix, and ends the prefix's
# processes.  The exit status is the driver's.
#
# Environment:
#   CORVANE_E2E_BUILD        windows build folder (default: build/win)
#   CORVANE_PREFIX_TEMPLATE  prefix to copy (default: made in the build folder)
#   CORVANE_E2E_PREFIX       where to make the copy (default: in the build folder)
#   CORVANE_E2E_SETUP        the SETUP.EXE to test (default: the build folder's)
#   CORVANE_E2E_MEDIUM_DIR   use this medium folder as it is, instead of C:\CD
#   CORVANE_E2E_KEEP=1       keep the prefix copy after a passing scenario
#   CORVANE_WINDOWS          the Windows version the prefix copy reports
#                            (make-prefix.sh; default: Windows 98)
#   CORVANE_SHOT_DIR         folder for the tour's screenshots
#   DISPLAY                  X display; without one a private Xvfb is started
set -euo pipefail
scenario=${1:?usage: run-scenario.sh SCENARIO}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${CORVANE_E2E_BUILD:-$root/build/win}" && pwd)
driver=$build/e2e/e2e_driver.exe
setup=${CORVANE_E2E_SETUP:-$build/bin/SETUP.EXE}
[ -f "$driver" ] || { echo "run-scenario: no $driver; build the target e2e" >&2; exit 2; }
[ -f "$setup" ] || { echo "run-scenario: no $setup" >&2; exit 2; }

work=$build/e2e/work
template=${CORVANE_PREFIX_TEMPLATE:-$work/template}
prefix=${CORVANE_E2E_PREFIX:-$work/$scenario}
mkdir -p "$work"
# One template boot at a time, should scenarios run in parallel.
( flock 9; "$root/scripts/make-prefix.sh" "$template" ) 9>"$work/.template.lock"
"$root/scripts/make-prefix.sh" "$template" "$prefix"

c=$prefix/drive_c
mkdir -p "$c/e2e/doubles/noinit" "$c/e2e/real" "$c/windows/command"
cp "$build/doubles/noinit/_SETUP.DLL" "$c/e2e/doubles/noinit/"
cp "$build/doubles/deltree/DELTREE.EXE" "$c/windows/command/"
if [ -f "$build/bin/_ISDEL.EXE" ]; then cp "$build/bin/_ISDEL.EXE" "$c/e2e/real/"; fi
if [ -f "$build/bin/DELTREE.EXE" ]; then cp "$build/bin/DELTREE.EXE" "$c/e2e/real/"; fi
# A second, real medium in C:\realcd: mkmedium's SETUP.INI and payload store
# of the sample product, the real _SETUP.DLL and the real programs.  Built
# once per build and copied; scenarios that install for real start from it.
host_bin=${CORVANE_HOST_BIN:-$root/build/host/bin}
if [ -x "$host_bin/mkmedium" ] && [ -f "$build/bin/_SETUP.DLL" ]; then
  real=$build/e2e/real-medium
  # Made and copied one scenario at a time: a scenario that remakes it must
  # not empty it under another one's copy.
  (
    flock 9
    if [ ! -f "$real/SETUP.INI" ] || [ -n "$(find "$build/bin" "$here/medium/product.list" -newer "$real/SETUP.INI" -print -quit)" ]; then
      rm -rf "$real"
      "$host_bin/mkmedium" "$build/bin" "$here/medium/product.list" "$build/bin" "$real" >/dev/null
    fi
    mkdir -p "$c/realcd"
    cp "$real"/* "$c/realcd/"
  ) 9>"$work/.real-medium.lock"
  # Where its files came from, for the scenarios that compare installed
  # files byte by byte.
  export CORVANE_E2E_REAL_SOURCES="Z:$(echo "$build/bin" | tr / '\\')"
fi
# The disc_ scenarios get mkmedium's disc image of the real medium as drive D:,
# a CD-ROM whose files are read-only; made once per build.
if [[ $scenario == disc_* ]] && [ -f "${real:-}/SETUP.INI" ] && command -v xorriso >/dev/null; then
  iso=$build/e2e/disc.iso
  (
    flock 9
    if [ ! -f "$iso" ] || [ -n "$(find "$real" "$host_bin/mkmedium" -newer "$iso" -print -quit)" ]; then
      rm -rf "$build/e2e/disc"
      "$host_bin/mkmedium" --iso "$iso" "$build/bin" "$here/medium/product.list" "$build/bin" "$build/e2e/disc" >/dev/null
    fi
    "$root/scripts/cd-drive.sh" "$prefix" "$iso"
  ) 9>"$work/.disc.lock"
fi
# The real scan engine and samples for it: clean originals (ORIG-*.BIN) and
# the test infections made from them (engine/formats.h).  Scenarios that scan
# with the real engine put them in place themselves; nothing else sees them.
if [ -f "$build/bin/Corvane.dll" ]; then cp "$build/bin/Corvane.dll" "$c/e2e/real/"; fi
if [ -x "$host_bin/cvsample" ]; then
  samples=$build/e2e/samples
  # Made once per build and copied, one scenario at a time.
  (
    flock 9
    if [ ! -f "$samples/.made" ] || [ -n "$(find "$host_bin/cvsample" "$here/run-scenario.sh" -newer "$samples/.made" -print -quit)" ]; then
      rm -rf "$samples"
      mkdir -p "$samples"
      for original in A B D I M S; do head -c 3000 /dev/urandom > "$samples/ORIG-$original.BIN"; done
      cvsample() { "$host_bin/cvsample" "$@" >/dev/null; }
      cvsample eicar "$samples/EICAR.BIN"
      cvsample cloak "$samples/ORIG-A.BIN" "$samples/CLOAK-A.BIN"
      # Two infections: Mender over Cloak, offered outer layer first.
      cvsample cloak "$samples/ORIG-B.BIN" "$samples/.cloak-b"
      cvsample mender "$samples/.cloak-b" "$samples/TWICE-B.BIN"
      cvsample mender "$samples/ORIG-D.BIN" "$samples/MENDER-D.BIN"
      cvsample inert "$samples/ORIG-I.BIN" "$samples/INERT-I.BIN"
      cvsample morph "$samples/ORIG-M.BIN" "$samples/MORPH-M.BIN"
      cvsample cloak "$samples/ORIG-S.BIN" "$samples/CLOAK-S.BIN"
      touch "$samples/.made"
    fi
    mkdir -p "$c/e2e/samples"
    cp "$samples"/*.BIN "$c/e2e/samples/"
  ) 9>"$work/.samples.lock"
fi
if [ -n "${CORVANE_E2E_MEDIUM_DIR:-}" ]; then
  medium_windows="Z:$(echo "$CORVANE_E2E_MEDIUM_DIR" | tr / '\\')"
else
  medium=$c/CD
  mkdir -p "$medium"
  cp "$setup" "$here/medium/SETUP.INI" "$build/doubles/setupdll/_SETUP.DLL" \
     "$build/doubles/engine/Corvane.dll" "$build/doubles/isdel/_ISDEL.EXE" "$medium/"
  if [ -f "$build/bin/MemChk.exe" ]; then cp "$build/bin/MemChk.exe" "$medium/"; fi
  medium_windows='C:\CD'
fi

if [ -z "${DISPLAY:-}" ]; then
  . "$root/scripts/xvfb.sh"
  corvane_start_xvfb 72
fi

export CORVANE_PREFIX=$prefix CORVANE_E2E_MEDIUM=$medium_windows CORVANE_E2E_HOME='C:\e2e'
status=0
"$root/scripts/wine-exec.sh" "$driver" "$scenario" || status=$?
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
# A program that the scenario's last step started (the hand-off starts the
# product's) can still be coming up when the server goes: its launcher then
# waits for the server for ever, holding this script's output open, and
# ctest waits with it. Whatever of the prefix is left goes too.
for proc in /proc/[0-9]*; do
  if tr '\0' '\n' < "$proc/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$prefix"; then
    kill -9 "${proc#/proc/}" 2>/dev/null || true
  fi
done
if [ "$status" = 0 ] && [ -z "${CORVANE_E2E_KEEP:-}" ]; then
  if [ -d "$prefix/cdrom" ]; then chmod -R u+w "$prefix/cdrom"; fi
  rm -rf "$prefix"
elif [ "$status" != 0 ]; then
  echo "run-scenario: prefix kept for inspection: $prefix"
fi
exit "$status"
