#!/usr/bin/env bash
# Start-up figures of SETUP.EXE under Wine: file size, working set on the
# welcome page, the time from the start of the process to its first window
# (the preparing dialog) beside the same time of the smallest windowed
# program (first_window.exe), and the time to the welcome page beside the
# fixed waits of the preparing dialog.  Prints figures only.
#   bench/startup/run.sh [WINDOWS_BUILD_DIR [SETUP_EXE]]
# The driver and the doubles come from the windows build (default build/win,
# built already); the program measured is the shipping build's SETUP.EXE
# (build/dist) when there is one, else the windows build's.  Runs in a fresh
# test prefix, on a private Xvfb unless DISPLAY is set.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export CORVANE_E2E_BUILD=$(cd "${1:-$root/build/win}" && pwd)
setup=${2:-$root/build/dist/bin/SETUP.EXE}
[ -f "$setup" ] || setup=$CORVANE_E2E_BUILD/bin/SETUP.EXE
export CORVANE_E2E_SETUP=$setup
echo "startup bench: $setup"
exec bash "$root/tests/e2e/run-scenario.sh" bench_startup
