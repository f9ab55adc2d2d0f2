#!/bin/sh
# Installs the distribution folder of a Windows build with its SETUP.EXE, clicked through with
# real clicks (into "C:\Program Files\ZARVO\ORLO", restart later), and restarts the prefix so
# that the stand-in driver loads. Under a display as large as the prefix's virtual desktop.
#   tools/wine/install-monitor.sh <prefixdir> <distdir>
set -eu
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/monitor.sh"

orlo_arguments 2 2 "$0 <prefixdir> <distdir>" "$@"
[ -f "$2/SETUP.EXE" ] || { echo "$0: no SETUP.EXE in $2 (build the dist target)" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "$0: no DISPLAY (run under xvfb-run -a)" >&2; exit 1; }
orlo_wine_env "$1"
orlo_install_monitor "$2"
