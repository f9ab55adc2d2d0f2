#!/bin/sh
# Builds everything, runs the monitor for 30 virtual seconds on the simulated demo machine
# (printing what it does), then runs the real ORLO.EXE under Wine on the stand-in driver's
# demo board: in a window where a display exists, else on a virtual one with a screenshot.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
"$root/build/host/src/monitor/orlo-sim" --seconds "${ORLO_DEMO_SECONDS:-30}"
"$root/tools/wine/run-demo.sh" "$root/build/win" "${ORLO_WINE_DEMO_SECONDS:-20}"
