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

# The top-level windows whose title contains TITLE (default ORLO), one "visible|hidden WxH title"
# line each.
windows() { wine "$WINDOW_STATE" "${1:-ORLO}" 2>/dev/null | tr -d '\r'; }
# The monitor has finished its start: its first tick wrote log.txt, which it does once the main
# window sits in the tray. A test that starts the monitor again removes log.txt first, or a
# window not yet shown would pass for one hidden in the tray.
in_tray() { [ -f "$PROGRAM/log.txt" ] && windows | grep -Eq '^hidden .*[(]ORLO[)]'; }
