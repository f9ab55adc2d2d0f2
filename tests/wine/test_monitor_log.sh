#!/bin/sh
# log.txt as ORLO.EXE writes it on the stand-in driver: periodic lines in text mode (CR LF), the
# enabled channels under their board INI names with the demo board's readings, and the time
# stamp of the writing at the end.
. "$(dirname "$0")/monitor_lib.sh"

LOG="$PROGRAM/log.txt"
CR="$(printf '\r')"
# The demo board's readings: 1500000 / count RPM, degrees as read, millivolts through R1 and R2.
CHANNELS='Pump FAN:6000, System FAN:6521, Power FAN:6250, CPU Temp:40, System Temp:45, PWM Temp:38, '
CHANNELS="${CHANNELS}VCore:1792, \\+3\\.3V:3315, \\+5V:5017, \\+12V:12006, DDR VTT:896, "
CHANNELS="${CHANNELS}\\+1\\.8V:1792, 5VSB:5017, VBAT:3046, "
WHEN='[0-9]{1,2}/[0-9]{1,2}/[0-9]{4}( [0-9]{1,2}:[0-9]{2}:[0-9]{2}( [AP]M)?)?'

lines() { [ -f "$LOG" ] && wc -l <"$LOG" || echo 0; }
three_lines() { [ "$(lines)" -ge 3 ]; }
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }

orlo_install_monitor "$DIST"
# A line at every tick, a tick every second; FAN0 under a name of this INI's own.
orlo_ini_set "$PROGRAM/A920.INI" SYSTEM "How to log" Automated
orlo_ini_set "$PROGRAM/A920.INI" INTERVAL VALUE 1000
orlo_ini_set "$PROGRAM/A920.INI" FAN0 NAME "Pump FAN"
orlo_start_session

started="$(date +%s)"
orlo_start_monitor 0
orlo_wait_until 30 three_lines || true
wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
stopped="$(date +%s)"
expect_eq "the monitor ends" "$(running && echo running)" ""

expect_eq "log.txt written" "$([ -f "$LOG" ] && echo yes)" yes
[ -f "$LOG" ] || : >"$LOG"
expect_eq "three lines at least" "$(three_lines && echo yes)" yes
expect_eq "no line without CR before its LF" "$(grep -cv "$CR\$" "$LOG")" 0
expect_eq "no CR but before an LF" "$(tr -cd '\r' <"$LOG" | wc -c)" "$(tr -cd '\n' <"$LOG" | wc -c)"
expect_eq "the last line ended" "$(tail -c 2 "$LOG" | od -An -c | tr -d ' ')" '\r\n'
expect_match "first line: date, time, channels, time stamp" "$(head -n 1 "$LOG")" \
  "^$WHEN - $CHANNELS[0-9]+$CR\$"
expect_eq "every line a periodic line" \
  "$(grep -Ecv "^$WHEN - $CHANNELS[0-9]+$CR\$" "$LOG")" 0
stamps="$(tr -d '\r' <"$LOG" | awk '{ print $NF }' | tr '\n' ' ')"
echo "  time stamps $stamps(run $started to $stopped)"
expect_eq "time stamps of the run, in order" \
  "$(printf '%s\n' $stamps | awk -v from="$started" -v to="$stopped" \
    '$1 < from || $1 > to || $1 < last { bad = 1 } { last = $1 } END { print bad ? "no" : "yes" }')" \
  yes
[ "$ORLO_FAILURES" -eq 0 ] || { echo "log.txt:"; od -c "$LOG" | head -n 20; }

if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
