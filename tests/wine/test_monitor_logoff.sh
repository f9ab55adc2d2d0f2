#!/bin/sh
# ORLO.EXE at a logoff: its windows allow the session's end (WM_QUERYENDSESSION answers TRUE),
# and WM_ENDSESSION with TRUE ends the application (Windows would end the process right after;
# here nothing does, so the program ends by itself).
. "$(dirname "$0")/monitor_lib.sh"

END_SESSION="$(orlo_artifact end_session.exe)"
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }

orlo_install_monitor "$DIST"
orlo_start_session
orlo_start_monitor 0
orlo_wait_until 60 in_tray || true
expect_match "in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'

echo "logoff"
answers="$(wine "$END_SESSION" ORLO 2>/dev/null | tr -d '\r')"
echo "$answers"
expect_match "the main window allows the session's end" "$answers" '^query 1 .*[(]ORLO[)]'
expect_eq "no window refuses it" "$(echo "$answers" | grep -c '^query 0')" 0
expect_match "the end-session message reaches it" "$answers" '^end .*[(]ORLO[)]'
orlo_wait_until 15 ended || true
expect_eq "the monitor ends" "$(running && echo running)" ""

if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
