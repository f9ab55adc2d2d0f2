#!/bin/sh
# Installs a Windows build with its SETUP.EXE (when the prefix does not hold it yet) and runs
# ORLO.EXE under Wine on the stand-in driver's demo board for a while, with its main window
# shown; saves a screenshot and ends it with the exit message.
#   tools/wine/run-demo.sh <windows-build-dir> [seconds]      (default 20 s)
# With DISPLAY set the Wine desktop shows on that display; without, on a virtual one (Xvfb).
# The prefix, <build>/demo-prefix, is kept, and made anew when it holds another build.
set -eu

. "$(dirname "$0")/common.sh"
orlo_arguments 1 2 "$0 <windows-build-dir> [seconds]" "$@"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

TOOLS="$(cd "$(dirname "$0")" && pwd)"
BUILD="$(cd "$1" && pwd)"
SECONDS_TO_RUN="${2:-20}"
PREFIX="$BUILD/demo-prefix"
DIST="$BUILD/dist"
SHOT="$BUILD/screenshots/demo.png"
. "$TOOLS/monitor.sh"
orlo_take_build_arch "$BUILD"

[ -f "$DIST/SETUP.EXE" ] || { echo "$0: no $DIST/SETUP.EXE (build the dist target)" >&2; exit 1; }
BROADCAST="$(orlo_build_file "$BUILD" broadcast.exe)"
ORLO_FIND_CONTROL="$(orlo_build_file "$BUILD" find_control.exe)"

orlo_kept_prefix "$TOOLS" "$PREFIX" "$DIST"
orlo_start_session

echo "running ORLO.EXE of $(orlo_build_name "$ORLO_WINE_ARCH") ($BUILD) for $SECONDS_TO_RUN s"
ORLO_MONITOR_TIMEOUT=$((SECONDS_TO_RUN + 60))
orlo_start_monitor
# Once it sits in the tray, the message a second start sends brings its window up.
sleep 3
orlo_wine_quiet wine "$BROADCAST" OpenZarvoORLO
if [ "$SECONDS_TO_RUN" -gt 3 ]; then sleep $((SECONDS_TO_RUN - 3)); fi
mkdir -p "$(dirname "$SHOT")"
"$TOOLS/screenshot.sh" "$SHOT"

orlo_wine_quiet wine "$BROADCAST" EXITZarvoORLO
orlo_wait_monitor
wineserver -k >/dev/null 2>&1 || true
echo "ORLO.EXE ended with exit code $ORLO_STATUS"
echo "screenshot: $SHOT"
