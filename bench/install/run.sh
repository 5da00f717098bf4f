#!/usr/bin/env bash
# Install benchmark: about 100 MB of real PE files (Wine's own DLLs) as the
# product, a medium made of them by mkmedium, and two peer installers of the
# same files made by makensis (solid zlib, solid LZMA). Under one Wine prefix
# it prints the time of InitInstall for all files, of a plain copy, and of
# each peer's silent install, the processors used and the memory of the
# unpacking; then the same with every process of both setups pinned to one
# processor (taskset); then the sizes. Figures only.
# Usage: bench/install/run.sh [ROUNDS]
#   CORVANE_WIN_BUILD, CORVANE_HOST_BUILD: build trees (build/win, build/host)
#   CORVANE_DIST_BUILD: the shipping build whose programs go on the medium
#     (build/dist; the win build's own when there is none)
#   CORVANE_BENCH_DIR: work folder (build/bench-install)
#   CORVANE_PREFIX_TEMPLATE: prefix template to copy (else one of its own)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
win=${CORVANE_WIN_BUILD:-$root/build/win}
host=${CORVANE_HOST_BUILD:-$root/build/host}
dist=${CORVANE_DIST_BUILD:-$root/build/dist}
[ -f "$dist/bin/SETUP.EXE" ] || dist=$win
work=${CORVANE_BENCH_DIR:-$root/build/bench-install}
template=${CORVANE_PREFIX_TEMPLATE:-$work/prefix-template}
rounds=${1:-5}
dlls=/usr/lib/i386-linux-gnu/wine/i386-windows
target_mib=100

windows_path() { local p; p=$(cd "$1" && pwd); echo "Z:${p//\//\\}"; }

mkdir -p "$work"
rm -rf "$work/product" "$work/medium" "$work/nsis"
mkdir -p "$work/product" "$work/nsis"

# Every fourth program file of Wine's, in name order, up to 100 MiB.
total=0
index=0
while IFS= read -r name; do
  index=$((index + 1))
  [ $(((index - 1) % 4)) -eq 0 ] || continue
  cp --preserve=timestamps "$dlls/$name" "$work/product/"
  total=$((total + $(stat -c %s "$dlls/$name")))
  [ "$total" -lt $((target_mib * 1024 * 1024)) ] || break
done < <(cd "$dlls" && LC_ALL=C ls | grep -Ei '\.(dll|exe|drv|ocx|acm|cpl|sys|tlb)$')
(cd "$work/product" && LC_ALL=C ls) > "$work/list.txt"
count=$(wc -l < "$work/list.txt")

"$host/bin/mkmedium" --allow-missing "$work/product" "$work/list.txt" "$dist/bin" "$work/medium" 2>/dev/null

# A peer installer of the product (or of nothing) with the given compressor.
peer_script() {
  echo "Name \"Corvane benchmark peer\""
  echo "OutFile \"$1\""
  echo 'InstallDir "C:\bench\peer"'
  echo "SetCompressor /SOLID $2"
  echo 'RequestExecutionLevel user'
  echo 'SilentInstall silent'
  echo 'Section'
  echo '  SetOutPath "$INSTDIR"'
  [ "${3:-}" = empty ] || echo "  File \"$work/product/*.*\""
  echo 'SectionEnd'
}
peer_script peer.exe zlib > "$work/nsis/peer.nsi"
peer_script lzma.exe lzma > "$work/nsis/lzma.nsi"
peer_script empty.exe zlib empty > "$work/nsis/empty.nsi"
(cd "$work/nsis" && makensis -V1 peer.nsi && makensis -V1 lzma.nsi && makensis -V1 empty.nsi)

"$root/scripts/make-prefix.sh" "$template" "$work/prefix"
export CORVANE_PREFIX=$work/prefix
# The peers unpack through the user's TEMP folder, which a copied prefix may
# lack; without it they end at once, having installed nothing.
mkdir -p "$work/prefix/drive_c/users/$(id -un)/Temp"
trap 'WINEPREFIX="$CORVANE_PREFIX" wineserver -k 2>/dev/null || true' EXIT
bench() {
  "$@" "$root/scripts/wine-exec.sh" "$win/bin/installbench.exe" "$(windows_path "$work/medium")" \
    "$(windows_path "$work/product")" "$(windows_path "$work/nsis")\\peer.exe" \
    "$(windows_path "$work/nsis")\\lzma.exe" "$(windows_path "$work/nsis")\\empty.exe" 'C:\bench' "$rounds"
  # The next run starts its own server, pinned as its processes are.
  WINEPREFIX="$CORVANE_PREFIX" wineserver -k 2>/dev/null || true
}
echo "== every processor"
bench
echo "== one processor (taskset -c 0)"
bench taskset -c 0

raw=$(du -sb --apparent-size "$work/product" | cut -f1)
pak=$(stat -c %s "$work/medium/_SETUP.PAK")
medium=$(du -sb --apparent-size "$work/medium" | cut -f1)
peer=$(stat -c %s "$work/nsis/peer.exe")
lzma=$(stat -c %s "$work/nsis/lzma.exe")
awk -v programs="$dist/bin" -v count="$count" -v raw="$raw" -v pak="$pak" -v medium="$medium" -v peer="$peer" \
    -v lzma="$lzma" 'BEGIN {
  printf "product: %d files, %d bytes\n", count, raw
  printf "payload store _SETUP.PAK      %11d bytes (%.1f%% of the files)\n", pak, 100 * pak / raw
  printf "medium folder, all            %11d bytes (programs: %s)\n", medium, programs
  printf "zlib peer peer.exe            %11d bytes (%.1f%% of the files)\n", peer, 100 * peer / raw
  printf "LZMA peer lzma.exe            %11d bytes (%.1f%% of the files)\n", lzma, 100 * lzma / raw
  printf "medium / zlib peer            %11.3f\n", medium / peer
  printf "medium / LZMA peer            %11.3f\n", medium / lzma
}'
