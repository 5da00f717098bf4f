#!/usr/bin/env bash
# Checks programs and libraries for Windows 95, whose loader refuses one
# that names a function its system DLLs lack: each may import only the
# functions listed in win95-imports.txt, and must carry subsystem version 4,
# which is what Windows 95 loads. With --386, each must also keep to the
# 386's instructions: most PCs of Windows 95's day were Pentiums and K6s,
# which stop at the first CMOV or FCOMI of the cross compiler's default,
# the Pentium Pro (the test build is made for the 486 and not held to it).
# Usage: check-imports.sh [--386] FILE|FOLDER...  (a folder: every .exe and .dll in it)
set -u
cpu386=0
if [ "${1:-}" = --386 ]; then cpu386=1; shift; fi
# The 486's, the Pentium's, the Pentium Pro's and later ones; MMX and SSE by
# their registers.
later='^(bswap|cmpxchg.*|xadd|invd|wbinvd|invlpg|cpuid|rdtsc|rdmsr|wrmsr|rsm|cmov.*|fcmov.*|f(u)?comip?|rdpmc|ud2|sysenter|sysexit|fxsave|fxrstor|emms|prefetch.*|[lms]fence|movnti|nop[lw])$'

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
  if [ $cpu386 = 1 ]; then
    newer=$("$objdump" -d --no-show-raw-insn "$f" | awk -F'\t' -v later="$later" '
      NF >= 2 { split($2, word, " "); if (word[1] ~ later || $2 ~ /%x?mm[0-9]/) print word[1] }' | sort -u | tr '\n' ' ')
    if [ -n "$newer" ]; then echo "FAIL $f uses instructions a 386 lacks: $newer"; fail=1; fi
  fi
  if [ $fail = 0 ]; then
    echo "ok   $f: $(awk '{ print $1 }' <<< "$imports" | sort -u | tr '\n' ' ')"
  else
    status=1
  fi
done
exit $status
