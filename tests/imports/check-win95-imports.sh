#!/usr/bin/env bash
# Checks the programs of the setup medium as they ship: each imports only
# system DLLs that Windows 95 has, and none of the functions that those DLLs
# gained later (the loader refuses a program that names one).
# Usage: check-win95-imports.sh FILE|FOLDER...  (a folder: every .exe and .dll in it)
set -u
shopt -s nullglob nocaseglob
allowed_dlls='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|OLE32|msvcrt|COMCTL32)\.dll$'
# Functions Windows 95 does not export, as the MinGW runtimes tend to pull in.
missing='^(GetTickCount64|IsDebuggerPresent|TryEnterCriticalSection|AddVectoredExceptionHandler|RemoveVectoredExceptionHandler|GetHandleInformation|SetHandleInformation|SetProcessAffinityMask|GetProcessAffinityMask|GetFileAttributesExA|GetFileAttributesExW|InitializeCriticalSectionAndSpinCount|SetFilePointerEx|GetFileSizeEx|FlsAlloc|FlsGetValue|FlsSetValue|FlsFree|GetModuleHandleExA|GetModuleHandleExW|SwitchToThread|InterlockedCompareExchange|GetLongPathNameA|GetDiskFreeSpaceExA|CreateHardLinkA|GetNativeSystemInfo|GetSystemInfoEx)$'
files=()
for a in "$@"; do
  if [ -d "$a" ]; then files+=("$a"/*.exe "$a"/*.dll); else files+=("$a"); fi
done
[ ${#files[@]} -gt 0 ] || { echo "no programs to check in $*"; exit 1; }
status=0
for f in "${files[@]}"; do
  fail=0
  dump=$(i686-w64-mingw32-objdump -p "$f") || { echo "FAIL $f: not readable"; fail=1; continue; }
  dlls=$(printf '%s\n' "$dump" | awk '/DLL Name:/{print $3}')
  for d in $dlls; do
    if ! printf '%s\n' "$d" | grep -qiE "$allowed_dlls"; then
      echo "FAIL $f imports $d"; fail=1
    fi
  done
  funcs=$(printf '%s\n' "$dump" | awk '/DLL Name:/{on=1; next} on && NF>=3 && $1 ~ /^[0-9a-f]+$/ {print $NF}')
  bad=$(printf '%s\n' "$funcs" | grep -E "$missing" | tr '\n' ' ')
  if [ -n "$bad" ]; then echo "FAIL $f imports what Windows 95 lacks: $bad"; fail=1; fi
  subsys=$(printf '%s\n' "$dump" | awk '/MajorSubsystemVersion/{print $2}')
  if [ "$subsys" != 4 ]; then echo "FAIL $f subsystem version $subsys, not 4"; fail=1; fi
  if [ $fail = 0 ]; then echo "ok   $f: $(echo $dlls)"; else status=1; fi
done
exit $status
