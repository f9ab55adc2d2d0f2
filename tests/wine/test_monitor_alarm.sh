#!/bin/sh
# The limit alarm on ORLO.EXE with "Ask Me": a fan that stops on the stand-in driver brings the
# warning window up over the restored main window; a real mouse click on "&Ignore" closes it, and
# the alarm entry follows in log.txt.
. "$(dirname "$0")/monitor_lib.sh"

LOG="$PROGRAM/log.txt"
ENTRY="Your 'CPU FAN' Speed exceed the limit , Action when exceed the limitations: Ask Me"

recorded() { v="$("$ORLO_TOOLS/board-get.sh" "$ORLO_PREFIX" "$1")"; echo $((${v:-0})); }
reads() { recorded Count_22200C; }
reads_past() { [ "$(reads)" -gt "$1" ]; }
warning() { orlo_control ORLO Button '&Ignore'; }
warning_shown() { warning | grep -q '^visible'; }
warning_gone() { windows | grep -Eq '^hidden 356x283 ORLO$' && ! warning_shown; }
entry_logged() { grep -q "Speed exceed" "$LOG" 2>/dev/null; }
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }

orlo_install_monitor "$DIST"
# The warning asks; FAN0 is watched from 1000 RPM; a tick every 5 s leaves time for the click
# between two ticks.
orlo_ini_set "$PROGRAM/A920.INI" SYSTEM "Action when exceed the limitations" "Ask Me"
orlo_ini_set "$PROGRAM/A920.INI" FAN0 MONITOR 1
orlo_ini_set "$PROGRAM/A920.INI" FAN0 "LOW LIMIT" 1000
orlo_ini_set "$PROGRAM/A920.INI" INTERVAL VALUE 5000
orlo_start_session

echo "the monitor in the tray on the demo board"
orlo_start_monitor 0
orlo_wait_until 30 in_tray || true
expect_match "main window hidden in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'
expect_eq "no warning while the fans turn" "$(warning)" absent

echo "FAN0 stops (count 0, no high bits: 0 RPM)"
"$ORLO_TOOLS/board.sh" "$ORLO_PREFIX" FanCount REG_BINARY 00E6F0
orlo_wait_until 15 warning_shown || true
shown_at="$(reads)"
expect_match "the warning window shows" "$(windows)" '^visible 356x283 ORLO$'
expect_match "over the restored main window" "$(windows)" '^visible .*[(]ORLO[)]'
expect_match "with its title" "$(orlo_control ORLO Static 'Warning!!')" '^visible'
expect_match "naming the fan" "$(orlo_control ORLO Static "Your 'CPU FAN' Speed exceed the limit")" \
  '^visible'
expect_eq "its entry waits for the answer" "$(entry_logged && echo logged)" ""
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_alarm.png"

echo "a real click on &Ignore, the fan turning again"
origin="$(orlo_desktop_origin)"
button="$(warning)"
echo "  Wine desktop at $origin on the X screen; Ignore button: $button"
# shellcheck disable=SC2086 # the line's fields
set -- $button
# While the fan stays stopped, the tick that follows the close raises the alarm again; once it
# turns, the next tick closes the window itself. So the fan turns again right after a tick, and
# the click follows at once.
orlo_wait_until 8 reads_past "$shown_at" || true
tick_at="$(reads)"
"$ORLO_TOOLS/board.sh" "$ORLO_PREFIX" FanCount -
before_click="$(reads)"
if [ "$1" = visible ]; then orlo_click "$6" "$7"; else echo "  no Ignore button to click"; fi
expect_eq "no tick between that tick and the click" "$before_click" "$tick_at"
# Within 2 s, well before the interval's next tick (which would close it too, the fan turning).
orlo_wait_until 2 warning_gone || true
hidden_at="$(reads)"
expect_eq "the click hides the warning window" "$(warning_gone && echo hidden)" hidden
# The activation tick may have come already; the interval's own tick may not.
expect_eq "before the next tick of the interval" \
  "$([ "$hidden_at" -le $((before_click + 1)) ] && echo yes)" yes
orlo_wait_until 5 entry_logged || true
# The main window's activation brings a tick at once; with the fan turning it shows nothing.
orlo_wait_until 5 reads_past "$before_click" || true
sleep 0.5
expect_eq "a tick after the click" "$(reads_past "$before_click" && echo yes)" yes
expect_eq "the warning stays hidden" "$(warning_gone && echo hidden)" hidden

echo "log.txt"
expect_eq "the periodic line of the first tick, then the entry" "$(wc -l <"$LOG")" 3
expect_match "first the periodic line" "$(head -n 1 "$LOG")" ' - CPU FAN:6000, '
printf '%s\r\n\r\n' "$ENTRY" >"$ORLO_PREFIX/entry.expected"
tail -n +2 "$LOG" >"$ORLO_PREFIX/entry.actual"
if cmp -s "$ORLO_PREFIX/entry.expected" "$ORLO_PREFIX/entry.actual"; then
  echo "  ok   the alarm entry, then CR LF CR LF"
else
  echo "  FAIL the alarm entry: got"
  od -c "$ORLO_PREFIX/entry.actual" | sed 's/^/         /'
  ORLO_FAILURES=$((ORLO_FAILURES + 1))
fi

wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
expect_eq "the exit message ends the monitor" "$(running && echo running)" ""
if ended; then
  orlo_wait_monitor
  expect_eq "with exit code 0" "$ORLO_STATUS" 0
fi

if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
