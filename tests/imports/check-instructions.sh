#!/usr/bin/env bash
# Checks that programs and libraries use no instruction the 386 and 387 lack:
# Windows 95 runs on a 386, and most PCs of its day were Pentiums or K6s,
# which stop at the first CMOV or FCOMI of a Pentium Pro build. The test
# build, whose threads and fault plans need the 486, is not held to this.
# Usage: check-instructions.sh FILE|FOLDER...  (a folder: every .exe and .dll in it)
set -u
shopt -s nullglob nocaseglob
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
# The 486's, the Pentium's, the Pentium Pro's and later ones; MMX and SSE by
# their registers.
later='^(bswap|cmpxchg.*|xadd|invd|wbinvd|invlpg|cpuid|rdtsc|rdmsr|wrmsr|rsm|cmov.*|fcmov.*|f(u)?comip?|rdpmc|ud2|sysenter|sysexit|fxsave|fxrstor|emms|prefetch.*|[lms]fence|movnti|nop[lw])$'
files=()
for a in "$@"; do
  if [ -d "$a" ]; then files+=("$a"/*.exe "$a"/*.dll); else files+=("$a"); fi
done
[ ${#files[@]} -gt 0 ] || { echo "FAIL no programs to check in $*"; exit 1; }
status=0
for f in "${files[@]}"; do
  if ! code=$("$objdump" -d --no-show-raw-insn "$f" 2>&1); then
    echo "FAIL $f: not readable"; status=1; continue
  fi
  found=$(printf '%s\n' "$code" | awk -F'\t' -v later="$later" '
    NF >= 2 { split($2, word, " "); if (word[1] ~ later || $2 ~ /%x?mm[0-9]/) print word[1] }' |
    sort | uniq -c | awk '{ printf "%s%s x%s", sep, $2, $1; sep = ", " }')
  if [ -n "$found" ]; then
    echo "FAIL $f uses instructions a 386 lacks: $found"; status=1
  else
    echo "ok   $f"
  fi
done
exit $status
