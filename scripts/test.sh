#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the three trees, then the
# native unit tests (ASan, UBSan) and the fuzz targets' short runs, the
# Win32 tests and end-to-end scenarios under Wine on private virtual displays,
# and the disc under every Windows version (disc-matrix.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
scripts/build.sh
. scripts/xvfb.sh
corvane_start_xvfb
scripts/make-prefix.sh build/prefix/template build/prefix/ctest
export CORVANE_PREFIX="$PWD/build/prefix/ctest" CORVANE_PREFIX_TEMPLATE="$PWD/build/prefix/template"
# The Wine tests spend most of their time waiting for the program under test
# (its fixed waits, page changes, polling), so twice as many run as there
# are processors.  Tests that share the test prefix take turns (see
# corvane_in_test_prefix in CMakeLists.txt); the scenarios have prefixes and
# displays of their own.
jobs=$((2 * $(nproc 2>/dev/null || echo 1)))
status=0
ctest --test-dir build/host -j "$jobs" --output-on-failure || status=1
ctest --test-dir build/win -j "$jobs" --output-on-failure || status=1
# The disc under every Windows version Wine reports, a fresh prefix each.
scripts/disc-matrix.sh || status=1
WINEPREFIX="$CORVANE_PREFIX" wineserver -k 2>/dev/null || true
exit $status
