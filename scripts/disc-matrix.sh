#!/usr/bin/env bash
# The disc under every Windows of its day.  For each version, a fresh prefix
# that reports it, with mkmedium's disc image in its CD-ROM drive, runs the
# end-to-end scenario disc_matrix (tests/e2e/driver/scenarios_silent.cpp):
# SETUP.EXE /S from the disc's root, a second run (1638), the product's
# programs started, Unsetup.exe /S, and, with a file being replaced held
# open, the restart replacement the support library chose.  Prints a table
# with a row per version; the exit status is 1 when a version failed.
#   disc-matrix.sh [VERSION...]   versions as Wine names them; default: every
#                                 one it can report to a 32-bit program
# Needs a built tree (scripts/build.sh).  Versions run side by side, one per
# processor, each in its own prefix and on its own virtual display; each log
# is kept in build/win/e2e/matrix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${CORVANE_E2E_BUILD:-$root/build/win}" && pwd)
versions=("$@")
[ ${#versions[@]} -gt 0 ] || versions=(win95 win98 winme nt40 win2k winxp win7 win10)
logs=$build/e2e/matrix
rm -rf "$logs"
mkdir -p "$logs"

run_version() {
  local version=$1 status=0
  CORVANE_WINDOWS=$version CORVANE_E2E_BUILD=$build CORVANE_E2E_PREFIX=$build/e2e/work/disc_matrix-$version DISPLAY= \
    bash "$root/tests/e2e/run-scenario.sh" disc_matrix > "$logs/$version.log" 2>&1 || status=$?
  echo "$status" > "$logs/$version.status"
}

started=$(date +%s)
parallel=$(nproc 2>/dev/null || echo 1)
for version in "${versions[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  run_version "$version" &
done
wait

failed=0
echo "| Windows | reported as | install from the disc | second run 1638 | programs start | uninstall clean | restart replacement |"
echo "|---|---|---|---|---|---|---|"
for version in "${versions[@]}"; do
  status=$(cat "$logs/$version.status")
  row=$(tr -d '\r' < "$logs/$version.log" | sed -n 's/^matrix| [^|]*|/|/p' | tail -1)
  case $status in
    0) echo "| $version $row" ;;
    77) echo "| $version | skipped: no disc (xorriso, mkmedium or the real _SETUP.DLL missing) ||||||" ;;
    *) failed=1
       echo "| $version ${row:-| failed before its row ||||||} (failed, see $logs/$version.log)" ;;
  esac
done
echo "disc-matrix: ${#versions[@]} versions in $(( $(date +%s) - started )) s"
exit $failed
