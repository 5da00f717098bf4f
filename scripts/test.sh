#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both halves, then the
# native unit tests (ASan, UBSan) and the Win32 tests and end-to-end scenarios
# under Wine on a private virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
scripts/build.sh
. scripts/xvfb.sh
corvane_start_xvfb 87
scripts/make-prefix.sh build/prefix/template build/prefix/ctest
export CORVANE_PREFIX="$PWD/build/prefix/ctest" CORVANE_PREFIX_TEMPLATE="$PWD/build/prefix/template"
status=0
ctest --test-dir build/host --output-on-failure || status=1
ctest --test-dir build/win --output-on-failure || status=1
WINEPREFIX="$CORVANE_PREFIX" wineserver -k 2>/dev/null || true
exit $status
