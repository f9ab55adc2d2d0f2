#!/bin/sh
# Builds everything, runs the monitor for 30 virtual seconds on the simulated demo machine
# (printing what it does), then runs the real ORLO.EXE under Wine on the stand-in driver's
# demo board: in a window where a display exists, else on a virtual one with a screenshot.
# Under Wine it runs the shipped 32-bit build where this machine runs 32-bit x86 programs, else
# the x86_64 build in a 64-bit prefix (one line says so); ORLO_WINE_ARCH=win32 or win64 chooses.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
"$root/build/host/src/monitor/orlo-sim" --seconds "${ORLO_DEMO_SECONDS:-30}"
ORLO_TOOLS="$root/tools/wine"
. "$ORLO_TOOLS/common.sh"
build="$(orlo_first_build "$root/build")"
"$root/tools/wine/run-demo.sh" "$root/$build" "${ORLO_WINE_DEMO_SECONDS:-20}"
