# Sourced by the monitor's Wine tests (after the shebang): the test library, the monitor's
# helpers, and the paths every such test uses.
. "$(dirname "$0")/lib.sh"
. "$ORLO_TOOLS/monitor.sh"

DIST="$ORLO_BUILD/dist"
SHOTS="$ORLO_BUILD/screenshots"
mkdir -p "$SHOTS"
BROADCAST="$(orlo_artifact broadcast.exe)"
WINDOW_STATE="$(orlo_artifact window_state.exe)"
ORLO_FIND_CONTROL="$(orlo_artifact find_control.exe)"
PROGRAM="$WINEPREFIX/drive_c/Program Files/ZARVO/ORLO"
