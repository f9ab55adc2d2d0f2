#!/bin/sh
# The trim at start on the real ORLO.EXE with a large log.txt: old lines above a kept line of a
# time stamp and 1 MiB of text, then 20,000 recent lines. The old lines go, everything from the
# long line on stays byte for byte, the next periodic line follows, and no log.tmp is left.
. "$(dirname "$0")/monitor_lib.sh"

LOG="$PROGRAM/log.txt"
KEPT="$ORLO_PREFIX/kept.txt"
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }
# Trimmed (the long line stands first) and a periodic line appended after the kept ones.
grown() {
  [ "$(head -c 11 "$LOG")" = "$(head -c 11 "$KEPT")" ] &&
    [ "$(wc -c <"$LOG")" -gt "$(wc -c <"$KEPT")" ]
}

orlo_install_monitor "$DIST"
orlo_ini_set "$PROGRAM/A920.INI" SYSTEM "How to log" Automated
orlo_ini_set "$PROGRAM/A920.INI" INTERVAL VALUE 1000

now="$(date +%s)"
old=$((now - 90000))
recent=$((now - 60))
awk -v old="$old" -v recent="$recent" 'BEGIN {
  ORS = "\r\n"
  for (i = 0; i < 1000; i++) print "a - CPU FAN:6000, " old
  print "*comment"
  text = "x"
  for (i = 0; i < 20; i++) text = text text
  print recent " " text
  for (i = 0; i < 20000; i++) print "a - CPU FAN:6000, " recent
}' >"$LOG"
tail -n +1002 "$LOG" >"$KEPT"
echo "  log.txt $(wc -c <"$LOG") bytes, $(wc -l <"$LOG") lines"

orlo_start_session
started="$(date +%s)"
orlo_start_monitor 0
orlo_wait_until 60 grown || true
echo "  trimmed and a line appended after $(($(date +%s) - started)) s"
wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true

expect_eq "trimmed, then a line appended" "$(grown && echo yes)" yes
expect_eq "the kept lines stand first, byte for byte" \
  "$(head -c "$(wc -c <"$KEPT")" "$LOG" | cmp -s - "$KEPT" && echo same)" same
expect_eq "no log.tmp left" "$([ -e "$PROGRAM/log.tmp" ] && echo there)" ""

if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
