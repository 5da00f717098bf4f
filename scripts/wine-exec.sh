#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix named by CORVANE_PREFIX, with
# the Korean ANSI code page.  ctest uses it as the cross-compiling emulator.
set -u
: "${CORVANE_PREFIX:?CORVANE_PREFIX names the Wine prefix to run in}"
export WINEPREFIX="$CORVANE_PREFIX" WINEARCH=win32
export LANG=ko_KR.UTF-8 LC_ALL=ko_KR.UTF-8
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
