#!/usr/bin/env bash
# Sizes of the medium's programs as they ship (build/dist, made by
# scripts/build.sh) beside their targets.  SETUP.EXE is also shown without
# its bitmaps: the pictures' resource data is each .bmp file less its 14-byte
# file header.  Prints figures only.
#   bench/sizes.sh [DIST_BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$(cd "${1:-$root/build/dist}" && pwd)
kb() { awk -v b="$1" 'BEGIN { printf "%7.1f KB", b / 1024 }'; }
row() {  # name bytes target_kb
  local verdict=within
  [ "$2" -le $(($3 * 1024)) ] || verdict=OVER
  printf '  %-28s %s   target %4d KB   %s\n' "$1" "$(kb "$2")" "$3" "$verdict"
}
echo "shipped sizes: $dist/bin"
setup=$(stat -c %s "$dist/bin/SETUP.EXE")
bitmaps=0
for bmp in "$dist"/resources/art/*.bmp; do bitmaps=$((bitmaps + $(stat -c %s "$bmp") - 14)); done
row SETUP.EXE "$setup" 420
printf '  %-28s %s\n' "  of which bitmaps" "$(kb $bitmaps)"
row "  everything else" $((setup - bitmaps)) 70
for entry in _SETUP.DLL:64 _ISDEL.EXE:24 MemChk.exe:24 CV32W.EXE:64 Schedule.EXE:64 Unsetup.exe:64; do
  name=${entry%%:*}
  row "$name" "$(stat -c %s "$dist/bin/$name")" "${entry##*:}"
done
printf '  %-28s %s   (no target)\n' Corvane.dll "$(kb "$(stat -c %s "$dist/bin/Corvane.dll")")"
