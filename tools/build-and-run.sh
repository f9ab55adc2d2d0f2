#!/bin/sh
# Builds everything and runs the monitor for 30 virtual seconds on the simulated demo machine,
# printing what it does.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
"$root/build/host/src/monitor/orlo-sim" --seconds "${ORLO_DEMO_SECONDS:-30}"
