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
# The main window is on screen.
main_shown() { windows | grep -Eq '^visible .*[(]ORLO[)]'; }
# Starts the monitor without a delay, waits until it sits in the tray, and brings its main window
# up by a second start.
orlo_open_main_window() {
  orlo_start_monitor 0
  orlo_wait_until 30 in_tray || true
  orlo_second_start
  orlo_wait_until 10 main_shown || true
}
# Ends a test: the exit message must end the monitor; then orlo_finish.
orlo_exit_and_finish() {
  wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
  orlo_wait_until 15 orlo_monitor_ended || true
  expect_eq "the exit message ends the monitor" "$(orlo_monitor_ended || echo running)" ""
  if orlo_monitor_ended; then
    orlo_wait_monitor
  else
    kill "$ORLO_PID" 2>/dev/null || true
  fi
  orlo_finish
}
orlo_monitor_ended() { ! kill -0 "$ORLO_PID" 2>/dev/null; }
