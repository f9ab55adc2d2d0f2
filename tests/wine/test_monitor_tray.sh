#!/bin/sh
# ORLO.EXE on the stand-in driver: after its start delay it brings the board up and goes to the
# tray; a second start ends with exit code 1 and makes the first one show its window; the exit
# message ends it.
. "$(dirname "$0")/monitor_lib.sh"

recorded() { v="$("$ORLO_TOOLS/board-get.sh" "$ORLO_PREFIX" "$1")"; echo $((${v:-0})); }
shown() { windows | grep -Eq '^visible [1-9][0-9]*x[1-9]'; }
sensor_reads_done() { [ "$(recorded Count_22200C)" -ge 2 ]; }
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }

orlo_install_monitor "$DIST"
orlo_start_session

echo "start-up on the demo board, after a start delay of 3000 ms"
orlo_start_monitor 3000
sleep 1.5
expect_eq "no request during the delay" "$(recorded Count_222018)" 0
orlo_wait_until 30 sensor_reads_done || true
sleep 2
expect_eq "PCI dword read once" "$(recorded Count_222018)" 1
expect_eq "mainboard id read once" "$(recorded Count_222010)" 1
# The chip id and the fan divisors; polling adds more later.
expect_eq "two sensor requests at least" "$([ "$(recorded Count_22200C)" -ge 2 ] && echo yes)" yes
expect_eq "still running" "$(running && echo yes)" yes
expect_match "main window made and hidden in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'
expect_eq "none of its windows on screen" "$(shown && echo shown)" ""
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_tray.png"

echo "second start"
status=0
timeout 30 wine "$ORLO_EXE" >/dev/null 2>&1 || status=$?
expect_eq "second instance exits with 1" "$status" 1
orlo_wait_until 10 shown || true
expect_match "first instance shows its main window" "$(windows)" '^visible [1-9].*[(]ORLO[)]'
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_restored.png"

echo "exit message"
wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
expect_eq "the monitor ends" "$(running && echo running)" ""
if ended; then
  orlo_wait_monitor
  expect_eq "with exit code 0" "$ORLO_STATUS" 0
fi
expect_eq "its windows are gone" "$(windows)" absent
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_exit.png"

if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
