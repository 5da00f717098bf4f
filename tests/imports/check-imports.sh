#!/usr/bin/env bash
# Checks programs and libraries for Windows 95, whose loader refuses one
# that names a function its system DLLs lack: each may import only the
# functions listed in win95-imports.txt, and must carry subsystem version 4,
# which is what Windows 95 loads.
# Usage: check-imports.sh FILE|FOLDER...  (a folder: every .exe and .dll in it)
set -u
shopt -s nullglob nocaseglob
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
list=$(dirname "$0")/win95-imports.txt
files=()
for a in "$@"; do
  if [ -d "$a" ]; then files+=("$a"/*.exe "$a"/*.dll); else files+=("$a"); fi
done
[ ${#files[@]} -gt 0 ] || { echo "FAIL no programs to check in $*"; exit 1; }
allowed=$(grep -v -e '^#' -e '^$' "$list")
status=0
for f in "${files[@]}"; do
  if ! dump=$("$objdump" -p "$f" 2>&1); then
    echo "FAIL $f: not readable"; status=1; continue
  fi
  # "DLL function" for each import; one imported by ordinal is "DLL <none>".
  imports=$(printf '%s\n' "$dump" | awk '
    /^\tDLL Name: / { dll = toupper($3); next }
    /^$/ { dll = "" }
    dll != "" && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll " " $3 }')
  fail=0
  if [ -z "$imports" ]; then echo "FAIL $f: no imports found"; fail=1; fi
  unknown=$(grep -vxF -f <(printf '%s\n' "$allowed") <<< "$imports" | tr '\n' ',' | sed 's/,$//; s/,/, /g')
  if [ -n "$imports" ] && [ -n "$unknown" ]; then
    echo "FAIL $f imports what is not known to exist on Windows 95: $unknown"; fail=1
  fi
  subsystem=$(printf '%s\n' "$dump" | awk '/^MajorSubsystemVersion/ { print $2 }')
  if [ "$subsystem" != 4 ]; then echo "FAIL $f: subsystem version $subsystem, not 4"; fail=1; fi
  if [ $fail = 0 ]; then
    echo "ok   $f: $(awk '{ print $1 }' <<< "$imports" | sort -u | tr '\n' ' ')"
  else
    status=1
  fi
done
exit $status
