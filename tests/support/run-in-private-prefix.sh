#!/usr/bin/env bash
# Runs a Windows test program in a private copy of the test prefix, on a
# private Xvfb, for what the shared prefix cannot give: another Windows
# version, a drive of a few hundred kilobytes that fills up (a tmpfs in a
# private mount namespace, mapped as a Wine drive letter), or changes to the
# machine that other tests must not see. Exits 77, which ctest counts as
# skipped, when the machine cannot give it.
# Usage: run-in-private-prefix.sh [--version V] [--tiny-drive LETTER: KB] -- PROGRAM [ARGS...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
scripts=$here/../../scripts
args=("$@")
version= drive= kb=
while [ $# -gt 0 ]; do
  case $1 in
    --version) version=$2; shift 2 ;;
    --tiny-drive) drive=$2; kb=$3; shift 3 ;;
    --) shift; break ;;
    *) echo "usage: $0 [--version V] [--tiny-drive LETTER: KB] -- PROGRAM [ARGS...]" >&2; exit 2 ;;
  esac
done

if [ -z "${CORVANE_PREFIX_TEMPLATE:-}" ]; then
  echo "skipped: CORVANE_PREFIX_TEMPLATE names no test prefix template (scripts/test.sh sets it)"
  exit 77
fi

# The tmpfs goes into a mount namespace of our own, so that nothing stays
# mounted whatever happens. That takes root: in a user namespace Wine would
# look for its server in root's /tmp/.wine-0.
if [ -n "$drive" ] && [ -z "${CORVANE_PRIVATE_NAMESPACE:-}" ]; then
  if [ "$(id -u)" != 0 ] || ! unshare -m true 2>/dev/null; then
    echo "skipped: a tiny drive needs root and a private mount namespace"
    exit 77
  fi
  CORVANE_PRIVATE_NAMESPACE=1 exec unshare -m "$0" "${args[@]}"
fi

private=$(mktemp -d /tmp/corvane-private.XXXXXX)
prefix=$private/prefix
"$scripts/make-prefix.sh" "$CORVANE_PREFIX_TEMPLATE" "$prefix"
export CORVANE_PREFIX=$prefix
# A display of its own too, as ctest runs other tests' windows beside it.
. "$scripts/xvfb.sh"
corvane_start_xvfb

if [ -n "$version" ]; then
  "$scripts/wine-exec.sh" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null
fi
if [ -n "$drive" ]; then
  mkdir "$private/tiny"
  if ! mount -t tmpfs -o "size=${kb}k" tmpfs "$private/tiny"; then
    rm -rf "$private"
    echo "skipped: cannot mount a tmpfs"
    exit 77
  fi
  ln -s "$private/tiny" "$prefix/dosdevices/${drive,,}"
  export CORVANE_TINY_DRIVE=${drive^^}
fi

"$scripts/wine-exec.sh" "$@"
status=$?
WINEPREFIX=$prefix wineserver -k 2>/dev/null
[ -n "$drive" ] && umount "$private/tiny"
rm -rf "$private"
exit $status
