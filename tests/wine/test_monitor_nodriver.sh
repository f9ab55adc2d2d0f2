#!/bin/sh
# Without the driver ORLO.EXE keeps trying to open it, once a second, and shows no window
# meanwhile; it holds the single-instance mutex all along.
. "$(dirname "$0")/monitor_lib.sh"

running() { kill -0 "$ORLO_PID" 2>/dev/null; }

orlo_install_monitor "$ORLO_BUILD/dist"
# No driver: its service key and file go again before the session starts.
orlo_wine_quiet wine reg delete "$ORLO_SERVICE_KEY" /f
wineserver -w
rm -f "$WINEPREFIX/drive_c/windows/system32/drivers/ZarvoORLO.SYS"
orlo_start_session

orlo_start_monitor
sleep 5
expect_eq "still trying after 5 s" "$(running && echo yes)" yes
expect_eq "none of its windows visible" "$(windows | grep -c '^visible')" 0
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_nodriver.png"

status=0
timeout 30 wine "$ORLO_EXE" >/dev/null 2>&1 || status=$?
expect_eq "a second start meanwhile exits with 1" "$status" 1
expect_eq "the first one keeps trying" "$(running && echo yes)" yes

kill "$ORLO_PID" 2>/dev/null || true
orlo_finish
