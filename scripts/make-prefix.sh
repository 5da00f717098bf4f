#!/usr/bin/env bash
# Makes a Wine prefix that looks to setup like a Korean Windows 98:
#   32-bit, version 4.10, ANSI code page 949 (from LANG), a Korean font for
#   굴림/Gulim, every window inside one 800x600 virtual desktop (captions, focus,
#   a fixed screen size), the Start menu where Windows 98 keeps it, and
#   C:\windows\command on PATH.
# Usage: make-prefix.sh TEMPLATE_DIR [COPY_DIR]
#   Boots TEMPLATE_DIR once (kept while this script is unchanged), then, if
#   COPY_DIR is given, replaces COPY_DIR with a fresh copy of it.
#   CORVANE_WINDOWS (win95, winme, nt40, winxp, ... as Wine names them) makes
#   the copy report that Windows instead of 98; for the NT family the Start
#   menu's Programs folder is then in the user's profile.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# Wine wants an absolute WINEPREFIX.
template=$(realpath -m "$1")
copy=${2:+$(realpath -m "$2")}

export WINEARCH=win32 LANG=ko_KR.UTF-8 LC_ALL=ko_KR.UTF-8 WINEDEBUG=-all
stamp="$template/.corvane-stamp"
want=$(md5sum < "$0" | cut -d' ' -f1)

if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$want" ]; then
  rm -rf "$template"
  mkdir -p "$(dirname "$template")"
  export WINEPREFIX="$template"
  # No display is needed to boot; keep Wine from asking for Mono or Gecko.
  WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= wineboot -i >/dev/null 2>&1
  r() { wine reg add "$@" /f >/dev/null; }
  r 'HKCU\Software\Wine' /v Version /d win98
  r 'HKCU\Software\Wine\Fonts\Replacements' /v '굴림' /d NanumGothic
  r 'HKCU\Software\Wine\Fonts\Replacements' /v 'Gulim' /d NanumGothic
  r 'HKCU\Software\Wine\Fonts\Replacements' /v '굴림체' /d NanumGothicCoding
  r 'HKCU\Software\Wine\Fonts\Replacements' /v 'GulimChe' /d NanumGothicCoding
  # Wine's menu builder starts in the background after every shortcut saved
  # in the Start menu, reads the .lnk and writes desktop entries on the host:
  # a process of its own that Windows does not have, holding the files that
  # setup and the tests make and delete.
  r 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d ''
  r 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
  r 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600
  # Wine's shell32 rebuilds Shell Folders from User Shell Folders, so the
  # Windows 98 place of the Programs folder goes into both.
  programs='C:\windows\Start Menu\Programs'
  r 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' /v Programs /t REG_EXPAND_SZ /d "$programs"
  r 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Programs /d "$programs"
  r 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH /t REG_EXPAND_SZ \
    /d 'C:\windows\command;C:\windows\system32;C:\windows;C:\windows\system32\wbem'
  wineserver -w
  [ -f "$template/system.reg" ] || { echo "make-prefix: wineboot made no prefix in $template" >&2; exit 1; }
  mkdir -p "$template/drive_c/windows/Start Menu/Programs/시작프로그램" "$template/drive_c/windows/command"
  # Wine's own Marlett and Tahoma (caption buttons, scroll arrows) are not
  # found in Debian's data folder; from the prefix's Fonts folder they are.
  cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf "$template/drive_c/windows/Fonts/" 2>/dev/null || true
  echo "$want" > "$stamp"
fi

if [ -n "$copy" ]; then
  # Wine finds a prefix's server by the folder's inode: one still running for
  # the copy being replaced would live on beside the new copy's, unreachable.
  if [ -d "$copy" ]; then WINEPREFIX="$copy" wineserver -k 2>/dev/null || true; fi
  # A disc laid out by cd-drive.sh has no write permission.
  if [ -d "$copy/cdrom" ]; then chmod -R u+w "$copy/cdrom"; fi
  rm -rf "$copy"
  mkdir -p "$(dirname "$copy")"
  # The system folders are large and only read: link them instead of copying.
  # Everything else (registry, win.ini, user folders) is copied, because Wine
  # rewrites some of those files in place.
  mkdir -p "$copy"
  tar -C "$template" --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/winsxs -cf - . | tar -C "$copy" -xf -
  cp -al "$template/drive_c/windows/system32" "$template/drive_c/windows/winsxs" "$copy/drive_c/windows/"
  if [ -n "${CORVANE_WINDOWS:-}" ]; then
    # The value Wine reads at every program start, in the copy's HKCU\Software\Wine.
    awk -v v="$CORVANE_WINDOWS" '/^\[/ { wine = ($0 ~ /^\[Software\\\\Wine\] /) }
      wine && /^"Version"=/ { $0 = "\"Version\"=\"" v "\"" } { print }' "$copy/user.reg" > "$copy/user.reg.new"
    mv "$copy/user.reg.new" "$copy/user.reg"
    grep -qx "\"Version\"=\"$CORVANE_WINDOWS\"" "$copy/user.reg" ||
      { echo "make-prefix: no Windows version value in $copy/user.reg" >&2; exit 1; }
    case $CORVANE_WINDOWS in
      win95 | win98 | winme) ;;
      *)
        # The NT family keeps the Start menu in the user's profile: Programs
        # goes back below Wine's own Start Menu, in both keys, with the
        # Korean Start-up folder in it.
        awk 'NR == FNR { if (/^\[/) key = $0; if (/^"Start Menu"=/) menu[key] = substr($0, 14); next }
             /^\[/ { key = $0 }
             /^"Programs"=/ && (key in menu) { v = menu[key]; $0 = "\"Programs\"=" substr(v, 1, length(v) - 1) "\\\\Programs\"" }
             { print }' "$copy/user.reg" "$copy/user.reg" > "$copy/user.reg.new"
        mv "$copy/user.reg.new" "$copy/user.reg"
        programs=$(sed -n 's/^"Programs"="C:\\\\\(.*\)"$/\1/p' "$copy/user.reg" | sed 's/\\\\/\//g')
        mkdir -p "$copy/drive_c/$programs/시작프로그램"
        ;;
    esac
  fi
fi
