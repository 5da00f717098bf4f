#!/usr/bin/env bash
# Checks one layer of SETUP.EXE: none of its objects uses a symbol that an
# object of a layer above it defines.  setup_core links every layer into one
# library, so a call that runs the wrong way would link there all the same;
# this is what keeps the layers' link dependencies running one way.
# Usage: check-layer.sh NM OBJECT... -- OBJECT-ABOVE...
set -u
nm=$1
shift
layer=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  layer+=("$1")
  shift
done
shift
[ ${#layer[@]} -gt 0 ] && [ $# -gt 0 ] || { echo "usage: check-layer.sh NM OBJECT... -- OBJECT-ABOVE..."; exit 2; }
used=$("$nm" -u "${layer[@]}" | awk '$1 == "U" { print $2 }' | sort -u) || exit 2
defined=$("$nm" -g --defined-only "$@" | awk 'NF == 3 { print $3 }' | sort -u) || exit 2
wrong=$(comm -12 <(printf '%s\n' "$used") <(printf '%s\n' "$defined"))
if [ -n "$wrong" ]; then
  echo "FAIL: the layer uses what a layer above it defines:"
  printf '%s\n' "$wrong" | c++filt -_
  exit 1
fi
echo "ok: ${#layer[@]} objects use nothing that the $# objects above them define"
