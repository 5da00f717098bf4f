#!/usr/bin/env bash
# Puts a disc image into a Wine prefix as Windows sees a disc: drive D: of
# type CD-ROM, laid out from the image's Joliet names (the ones Windows reads)
# in PREFIX/cdrom, every file and folder without write permission, which Wine
# shows as read-only.  Run it before the prefix's first program starts: Wine
# reads the drive types when its mount manager starts.
# Usage: cd-drive.sh PREFIX FILE.ISO
set -euo pipefail
prefix=$(realpath "$1")
iso=$2
disc=$prefix/cdrom
if [ -d "$disc" ]; then
  chmod -R u+w "$disc"
  rm -rf "$disc"
fi
xorriso -osirrox on -read_fs norock -indev "$iso" -extract / "$disc" >/dev/null 2>&1 ||
  { echo "cd-drive: cannot read $iso" >&2; exit 1; }
chmod -R a-w "$disc"
ln -sfn ../cdrom "$prefix/dosdevices/d:"
grep -q '^\[Software\\\\Wine\\\\Drives\]' "$prefix/system.reg" ||
  printf '\n[Software\\\\Wine\\\\Drives] %s\n"d:"="cdrom"\n' "$(date +%s)" >> "$prefix/system.reg"
