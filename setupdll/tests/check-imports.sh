#!/usr/bin/env bash
# Fails when a program or library imports a function that is not listed in
# win95-imports.txt, the functions checked to exist in the system DLLs of
# Windows 95 (and in msvcrt.dll, which the MinGW runtime needs). A new
# import is added to the list only after checking it there.
# Usage: check-imports.sh PE_FILE...
set -euo pipefail
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
list=$(dirname "$0")/win95-imports.txt
status=0
for file in "$@"; do
  imports=$("$objdump" -p "$file" | awk '
    /^\tDLL Name: / { dll = toupper($3); next }
    /^$/ { dll = "" }
    dll != "" && NF == 3 && $2 ~ /^[0-9]+$/ { print dll ":" $3 }')
  if [ -z "$imports" ]; then
    echo "$file: no imports found" >&2
    status=1
  fi
  while read -r entry; do
    if ! grep -qxF "$entry" "$list"; then
      echo "$(basename "$file") imports $entry, which is not known to exist on Windows 95" >&2
      status=1
    fi
  done <<< "$imports"
done
exit $status
