#!/bin/sh
# The smart fan's first start of ORLO.EXE on the stand-in driver, the BIOS's registers given
# through the driver's channel: the question "Load smart-fan configuration from BIOS?" answered
# with a real click on Yes; [BIOSSET], [FINTEK] and the registers the driver recorded.
. "$(dirname "$0")/monitor_lib.sh"

INI="$PROGRAM/A920.INI"
recorded() { "$ORLO_TOOLS/board-get.sh" "$ORLO_PREFIX" "$1"; }
# Registers FROM (hex) for COUNT bytes, as hex digits.
registers() { recorded Registers | cut -c "$((0x$1 * 2 + 1))-$((0x$1 * 2 + $2 * 2))"; }
key() { tr -d '\r' <"$INI" | sed -n "/^\[$1\]/,/^\[/s/^$2=//p" | head -n 1; }
section() { tr -d '\r' <"$INI" | sed -n "/^\[$1\]/,/^\[/p" | grep '=' | tr '\n' ' '; }
question() { orlo_control INFO Button '&Yes'; }
asked() { question | grep -q '^visible'; }
page_shown() { orlo_control ORLO Button 'Load Settings From BIOS' | grep -q '^visible'; }
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }

orlo_install_monitor "$DIST"
# The shipped board INI: no [FINTEK] section yet.
cp "$DIST/A920.INI" "$INI"
# The BIOS's smart fan: by temperature (0x60 = 0x01), duty 200, points 65/45/30 degrees at counts
# 500, 666 and 1250 (3000, 2252 and 1200 RPM: 100, 75 and 40 % of the full-speed count 500).
"$ORLO_TOOLS/board.sh" "$ORLO_PREFIX" Registers REG_BINARY \
  "$(orlo_registers_hex 60=01 6B=C8 A0=41 A1=2D A2=1E A4=01 A5=F4 A6=02 A7=9A A8=04 A9=E2 \
    0A=01 0B=F4)"
wineserver -w
orlo_start_session

echo "the first start asks"
orlo_start_monitor 0
orlo_wait_until 30 asked || true
expect_match "the question with Yes and No" "$(question)" '^visible'
expect_match "its No button" "$(orlo_control INFO Button '&No')" '^visible'
expect_match "its text" "$(orlo_control INFO Static 'Load smart-fan configuration from BIOS?')" \
  '^visible'
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_smartfan_question.png"
echo "a real click on Yes"
orlo_click_control INFO Button '&Yes' || echo "  no Yes button to click"
orlo_wait_until 30 in_tray || true
expect_match "the monitor in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'

expect_eq "[BIOSSET]: the registers as the start read them" "$(section BIOSSET)" \
  "CONTROL=1 PWMDUTY=200 T1=65 T2=45 T3=30 F1H=1 F1L=244 F2H=2 F2L=154 F3H=4 F3L=226 "
expect_eq "[FINTEK]: the BIOS's setting, by temperature" "$(section FINTEK)" \
  "ENABLED=5 PWMDUTY=200 FullTemp=65 MidTemp=45 LowTemp=30 FullControl=100 MidControl=75 LowControl=40 "
expect_eq "mode by temperature, duty 157" "$(registers 60 1) $(registers 6B 1)" "01 9D"
expect_eq "the points" "$(registers A0 3)" 412D1E
# 3000, 2250 (75 %) and 1200 RPM: counts 500, 666, 1250.
expect_eq "the counts" "$(registers A4 6)" 01F4029A04E2

echo "the page after the start"
wine "$BROADCAST" OpenZarvoORLO >/dev/null 2>&1
orlo_wait_until 10 orlo_click_control ORLO tab 'S&mart Fan' || echo "  no Smart Fan tab to click"
orlo_wait_until 5 page_shown || true
expect_match "the Smart Fan page" "$(orlo_control ORLO Button 'Load Settings From BIOS')" '^visible'
expect_match "the Mid duty" "$(orlo_control ORLO Edit '75 %')" '^visible'
sleep 1
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_smartfan_start.png"

echo "a second start asks no more"
wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
# The new run's first tick writes the log again once the window sits in the tray.
rm -f "$PROGRAM/log.txt"
orlo_start_monitor 0
orlo_wait_until 30 in_tray || true
expect_match "straight to the tray" "$(windows)" '^hidden .*[(]ORLO[)]'
expect_eq "no question" "$(question)" absent

wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
expect_eq "the exit message ends the monitor" "$(running && echo running)" ""
if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
