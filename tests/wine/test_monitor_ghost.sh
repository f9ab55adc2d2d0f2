#!/bin/sh
# The ghost-monitor feed of the real ORLO.EXE into the stand-in skelvarind.dll beside it: the
# library's call log over a run (start, window and items, the CPU temperature and the VCore text
# of every tick, the end) and a real click on the Setup page's "Show CPU Ghost Monitor" box.
. "$(dirname "$0")/monitor_lib.sh"

CALLS="$PROGRAM/calls.txt"
BOX='Show CPU Ghost Monitor'

calls() { [ ! -f "$CALLS" ] || tr -d '\r' <"$CALLS"; }
fed() { [ "$(calls | grep -c '^SetCPUTemperature ')" -ge "$1" ]; }
shown() { orlo_control ORLO tab '&Setup' | grep -q '^visible'; }
box() { orlo_control ORLO Button "$BOX"; }
box_shown() { box | grep -q '^visible'; }
box_is() { [ "$(box | awk '{ print $8 }')" = "$1" ]; }
hidden_asked() { calls | grep -q '^HideTranslucentForm$'; }
dll_box() { orlo_control DLL Static 'Load DLL Fail'; }
dll_box_shown() { dll_box | grep -q '^visible'; }
dll_box_gone() { ! dll_box_shown; }
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }

orlo_install_monitor "$DIST"
expect_eq "the library beside the program" "$([ -f "$PROGRAM/skelvarind.dll" ] && echo yes)" yes
# A tick every second; [SYSTEM] FORM2 absent: the ghost window comes on.
orlo_ini_set "$PROGRAM/A920.INI" INTERVAL VALUE 1000
orlo_start_session
SKELVARIND_LOG='C:\Program Files\ZARVO\ORLO\calls.txt'
export SKELVARIND_LOG

echo "the monitor on the demo board (CPU 40 degrees, VCore byte 0x70)"
orlo_start_monitor 0
orlo_wait_until 30 in_tray || true
orlo_wait_until 15 fed 3 || true
expect_eq "the first activation: start, show (twice: the box's handler and the activation), items" \
  "$(calls | head -n 5 | tr '\n' '|')" \
  "InitInstance|ShowTranslucentForm|SetItems 1 1 1|ShowTranslucentForm|SetItems 1 1 1|"
expect_eq "then every tick: the CPU temperature, then the VCore text as shown" \
  "$(calls | sed -n '6,9p' | tr '\n' '|')" \
  "SetCPUTemperature 40|SetCPUVCore 1.792 V|SetCPUTemperature 40|SetCPUVCore 1.792 V|"
expect_eq "FORM2 written by the box's handler" \
  "$(tr -d '\r' <"$PROGRAM/A920.INI" | grep '^FORM2=')" "FORM2=1"

echo "a real click on $BOX"
orlo_second_start
orlo_wait_until 10 shown || true
orlo_click_control ORLO tab '&Setup' || echo "  no Setup tab to click"
orlo_wait_until 5 box_shown || true
expect_eq "the box checked" "$(box_is 1 && echo checked)" checked
orlo_click_control ORLO Button "$BOX" || echo "  no box to click"
orlo_wait_until 5 hidden_asked || true
expect_eq "the box unchecked" "$(box_is 0 && echo unchecked)" unchecked
expect_eq "the window hidden, then the items" \
  "$(calls | grep -v '^SetCPU' | sed -n '6,7p' | tr '\n' '|')" "HideTranslucentForm|SetItems 1 1 1|"
expect_eq "FORM2 follows the box" "$(tr -d '\r' <"$PROGRAM/A920.INI" | grep '^FORM2=')" "FORM2=0"
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_ghost.png"

ticks_before_end="$(calls | grep -c '^SetCPUTemperature ')"
wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
expect_eq "the exit message ends the monitor" "$(running && echo running)" ""
expect_eq "DestoryInstance last, once" "$(calls | tail -n 1)/$(calls | grep -c Destory)" \
  "DestoryInstance/1"
expect_eq "every tick fed both, in order" \
  "$(calls | grep '^SetCPU' | awk 'NR % 2 == 1 && !/^SetCPUTemperature 40$/ { bad = 1 }
                                  NR % 2 == 0 && !/^SetCPUVCore 1.792 V$/ { bad = 1 }
                                  END { print (bad || NR % 2) ? "no" : "yes" }')" yes
echo "  $ticks_before_end ticks fed before the end"

echo "without the library: its message box at the first activation"
mv "$PROGRAM/skelvarind.dll" "$PROGRAM/skelvarind.off"
rm -f "$CALLS" "$PROGRAM/log.txt"
orlo_start_monitor 0
orlo_wait_until 30 dll_box_shown || true
expect_match "\"Load DLL Fail\", caption DLL" "$(dll_box)" '^visible'
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_ghost_no_library.png"
orlo_click_control DLL Button OK || echo "  no OK button to click"
orlo_wait_until 10 dll_box_gone || true
expect_eq "OK closes it" "$(dll_box_shown && echo shown)" ""
orlo_wait_until 30 in_tray || true
expect_match "the monitor goes on in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'
wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
expect_eq "and ends on the exit message" "$(running && echo running)" ""
expect_eq "nothing called" "$(calls)" ""

if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
