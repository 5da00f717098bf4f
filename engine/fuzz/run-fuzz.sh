#!/usr/bin/env bash
# Runs a fuzz target for a fixed number of inputs from a fixed seed, starting
# from the kept corpus, so that every run tries the same inputs:
#   run-fuzz.sh TARGET CORPUS_DIR WORK_DIR RUNS
# libFuzzer writes the inputs it finds into the first folder it is given;
# that is WORK_DIR/new, emptied first, so that the kept corpus stays as
# committed.  A crashing input is left in WORK_DIR.
set -euo pipefail
target=$1 corpus=$2 work=$3 runs=$4
rm -rf "$work"
mkdir -p "$work/new"
# The seed alone does not fix the inputs: the compared values that libFuzzer
# learns from include addresses (the standard library compares pointers), so
# the run goes without address randomisation where the machine allows it.
# -reload=0: no timed rereading of the output folder.
fixed=()
if setarch -R true 2>/dev/null; then
  fixed=(setarch -R)
else
  echo "run-fuzz: addresses stay randomised here; the inputs tried may differ between runs"
fi
exec "${fixed[@]}" "$target" -seed=1 -runs="$runs" -reload=0 -artifact_prefix="$work/" "$work/new" "$corpus"
