#!/bin/sh
# The main window's minimise and its coming to the front on the real ORLO.EXE: the caption's
# minimise (WM_SYSCOMMAND, as the button sends it) on the Setup page hides the window into the
# tray, without a task-bar button, and so does another program's ShowWindow that makes it iconic;
# a second start brings it back on the Fan page. Covered by another program's window, a limit
# alarm brings the main window and the warning window above the cover, the warning window as the
# foreground window.
. "$(dirname "$0")/monitor_lib.sh"

INI="$PROGRAM/A920.INI"
SYSCOMMAND="$(orlo_artifact syscommand.exe)"
DESKTOP_STATE="$(orlo_artifact desktop_state.exe)"
COVER="$(orlo_artifact cover_window.exe)"

main_hidden() { windows | grep -Eq '^hidden .*[(]ORLO[)]'; }
setup_page() { orlo_control ORLO Button 'Set Password' | grep -q '^visible'; }
fan_page() { orlo_control ORLO Static 'CPU : ' | grep -q '^visible'; }
# The shown titled top-level windows from the top down; "* " marks the foreground one.
order() { wine "$DESKTOP_STATE" order 2>/dev/null | tr -d '\r'; }
# Line number of the first window in the z-order snapshot $SNAPSHOT whose title matches the
# pattern; 99 when none does.
place() {
  n="$(printf '%s\n' "$SNAPSHOT" | grep -nE "^. $1" | head -n 1 | cut -d: -f1)"
  echo "${n:-99}"
}
shape() { wine "$DESKTOP_STATE" shape '(ORLO)' 2>/dev/null | tr -d '\r'; }
cover_on_top() { order | head -n 1 | grep -q '^\* Cover$'; }
warning_shown() { orlo_control ORLO Button '&Ignore' | grep -q '^visible'; }

orlo_install_monitor "$DIST"
orlo_ini_set "$INI" SYSTEM "Action when exceed the limitations" "Ask Me"
orlo_ini_set "$INI" FAN0 MONITOR 1
orlo_ini_set "$INI" FAN0 "LOW LIMIT" 1000
orlo_ini_set "$INI" INTERVAL VALUE 1000
orlo_start_session

orlo_open_main_window
expect_match "the main window shown" "$(windows)" '^visible .*[(]ORLO[)]'

echo "minimised by the caption's button on the Setup page"
orlo_click_control ORLO tab '&Setup' || echo "  no Setup tab to click"
orlo_wait_until 5 setup_page || true
expect_eq "on the Setup page" "$(setup_page && echo yes)" yes
expect_eq "minimised" "$(wine "$SYSCOMMAND" '(ORLO)' minimize 2>/dev/null | tr -d '\r')" 1
orlo_wait_until 5 main_hidden || true
expect_match "hidden into the tray: no task-bar button" "$(windows)" '^hidden .*[(]ORLO[)]'
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_minimised_to_tray.png"
orlo_second_start
orlo_wait_until 10 main_shown || true
expect_match "a second start brings it back" "$(windows)" '^visible .*[(]ORLO[)]'
expect_eq "not minimised" "$(shape)" normal
orlo_wait_until 5 fan_page || true
expect_eq "on the Fan page" "$(fan_page && echo yes)" yes
expect_eq "not on the Setup page" "$(setup_page && echo yes)" ""

echo "made iconic by another program (ShowWindow, no system command)"
expect_eq "iconified" "$(wine "$SYSCOMMAND" '(ORLO)' iconify 2>/dev/null | tr -d '\r')" 1
orlo_wait_until 5 main_hidden || true
expect_match "hidden into the tray as well" "$(windows)" '^hidden .*[(]ORLO[)]'
orlo_second_start
orlo_wait_until 10 main_shown || true
expect_eq "a second start brings it back, not minimised" "$(shape)" normal

echo "covered by another program's window"
wine "$COVER" >/dev/null 2>&1 &
COVER_PID=$!
orlo_wait_until 10 cover_on_top || true
expect_eq "the cover is the foreground window" "$(cover_on_top && echo yes)" yes
SNAPSHOT="$(order)"
expect_eq "above the main window" \
  "$([ "$(place Cover)" -lt "$(place '.*[(]ORLO[)]')" ] && echo yes)" yes

echo "FAN0 stops: the alarm"
"$ORLO_TOOLS/board.sh" "$ORLO_PREFIX" FanCount REG_BINARY 00E6F0
orlo_wait_until 15 warning_shown || true
sleep 1
SNAPSHOT="$(order)"
echo "  windows from the top: $(printf '%s\n' "$SNAPSHOT" | tr '\n' '|')"
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_alarm_over_cover.png"
expect_match "the warning window is the foreground window" "$SNAPSHOT" '^\* ORLO$'
expect_eq "the main window above the cover" \
  "$([ "$(place '.*[(]ORLO[)]')" -lt "$(place Cover)" ] && echo yes)" yes
expect_eq "the warning window above the main window" \
  "$([ "$(place 'ORLO$')" -lt "$(place '.*[(]ORLO[)]')" ] && echo yes)" yes

kill "$COVER_PID" 2>/dev/null || true
"$ORLO_TOOLS/board.sh" "$ORLO_PREFIX" FanCount -
orlo_exit_and_finish
