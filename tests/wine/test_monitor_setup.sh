#!/bin/sh
# The logon start on ORLO.EXE's Setup page: the box shows the Run value "ZarvoORLO" the installer
# wrote; real clicks on the "&Setup" tab and on "&Launch ORLO on startup" remove it from the Wine
# registry, and a second click writes the monitor's own.
. "$(dirname "$0")/monitor_lib.sh"

RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
BOX='&Launch ORLO on startup'

shown() { orlo_control ORLO tab '&Setup' | grep -q '^visible'; }
# The box's line: visible ... <check state>
box() { orlo_control ORLO Button "$BOX"; }
box_shown() { box | grep -q '^visible'; }
box_is() { [ "$(box | awk '{ print $8 }')" = "$1" ]; }
run_value() {
  wine reg query "$RUN_KEY" /v ZarvoORLO 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *ZarvoORLO  *REG_SZ  *//p'
}
value_written() { [ -n "$(run_value)" ]; }
value_gone() { [ -z "$(run_value)" ]; }
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }

orlo_install_monitor "$DIST"
orlo_start_session

orlo_start_monitor 0
orlo_wait_until 30 in_tray || true
expect_match "the monitor in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'
expect_eq "the installer's Run value before" "$(run_value)" \
  '"C:\Program Files\Zarvo\ORLO\ORLO.EXE" "5000"'

echo "the main window, by a second start"
timeout 30 wine "$ORLO_EXE" >/dev/null 2>&1 || true
orlo_wait_until 10 shown || true
expect_match "main window shown" "$(windows)" '^visible .*[(]ORLO[)]'

echo "a real click on the &Setup tab"
orlo_click_control ORLO tab '&Setup' || echo "  no Setup tab to click"
orlo_wait_until 5 box_shown || true
expect_match "the Setup page with the box" "$(box)" '^visible'
expect_eq "the box checked" "$(box_is 1 && echo checked)" checked

echo "a real click on $BOX unchecks it"
orlo_click_control ORLO Button "$BOX" || echo "  no box to click"
orlo_wait_until 5 value_gone || true
expect_eq "the box unchecked" "$(box_is 0 && echo unchecked)" unchecked
expect_eq "the Run value removed" "$(run_value)" ""

echo "a second click checks it again"
orlo_click_control ORLO Button "$BOX" || echo "  no box to click"
orlo_wait_until 5 value_written || true
expect_eq "the box checked again" "$(box_is 1 && echo checked)" checked
# The path is the one the program sees itself under; Wine may give another case.
expect_eq "Run value: the program and a start delay of 5000 ms" \
  "$(run_value | tr '[:upper:]' '[:lower:]')" \
  "$(printf '%s' '"C:\Program Files\ZARVO\ORLO\ORLO.EXE" "5000"' | tr '[:upper:]' '[:lower:]')"
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_setup.png"

wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
expect_eq "the exit message ends the monitor" "$(running && echo running)" ""

if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
