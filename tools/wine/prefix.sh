#!/bin/sh
# Creates a fresh Wine prefix reporting Windows XP, without Mono/Gecko prompts and without the
# crash dialog: 32-bit, or 64-bit with ORLO_WINE_ARCH=win64. An existing prefix at that place is
# removed first.
# Windows show in a 1024x768 virtual desktop with a taskbar and notification area: without a
# window manager, Xvfb would show them without frames and tray icons nowhere.
#   tools/wine/prefix.sh <prefixdir>
# under a display of that size: xvfb-run -a -s "-screen 0 1024x768x24" ...
set -eu
. "$(dirname "$0")/common.sh"

orlo_arguments 1 1 "$0 <prefixdir>" "$@"
if [ -d "$1" ] && [ -n "$(ls -A "$1")" ]; then
  [ -f "$1/system.reg" ] || { echo "$0: $1 exists and is not a Wine prefix" >&2; exit 1; }
  orlo_wine_env "$1"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$1"
fi
mkdir -p "$1"
orlo_wine_env "$1"

orlo_wine_quiet wineboot -i
# Wine does not find the fonts of the fonts-wine package by itself; without Marlett the
# caption buttons show as "0 1 r".
if [ -d /usr/share/wine/fonts ]; then
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
orlo_wine_quiet wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f
orlo_wine_quiet wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
orlo_wine_quiet wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
orlo_wine_quiet wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
wineserver -w
