#!/bin/sh
# Copies the distribution folder of a Windows build (ORLO.EXE, the INI files, WARNING.WAV,
# skelvarind.dll, ZarvoORLO.SYS) into "C:\Program Files\ZARVO\ORLO" of a prefix.
#   tools/wine/install-monitor.sh <prefixdir> <distdir>
set -eu
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/monitor.sh"

[ $# -eq 2 ] || { echo "usage: $0 <prefixdir> <distdir>" >&2; exit 64; }
[ -f "$2/ORLO.EXE" ] || { echo "$0: no ORLO.EXE in $2 (build the dist target)" >&2; exit 1; }
orlo_wine_env "$1"
orlo_install_monitor "$2"
