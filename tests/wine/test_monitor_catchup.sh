#!/bin/sh
# The window draws nothing while it sits in the tray and shows current when it comes back: after
# the readings change several times in the tray, the restored Fan page shows the latest digits,
# in their colour, and the latest value texts, and the fans that turn are animated; the same
# after the user minimised the window, which goes into the tray too; a fan that leaves its
# limits while the window is in the tray brings it up with red digits.
. "$(dirname "$0")/monitor_lib.sh"

INI="$PROGRAM/A920.INI"
RESOURCES="$(dirname "$(orlo_artifact GREEN0.bmp)")"
SYSCOMMAND="$(orlo_artifact syscommand.exe)"
SHOT="$ORLO_PREFIX/screen.png"

recorded() { v="$("$ORLO_TOOLS/board-get.sh" "$ORLO_PREFIX" "$1")"; echo $((${v:-0})); }
reads() { recorded Count_22200C; }
reads_past() { [ "$(reads)" -gt "$1" ]; }
shown() { windows | grep -Eq '^visible .*[(]ORLO[)]'; }
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }
board() { "$ORLO_TOOLS/board.sh" "$ORLO_PREFIX" "$@"; }
# Waits until the driver has answered two more sensor requests: a whole tick ran on the values
# set before.
two_ticks() {
  at="$(reads)"
  orlo_wait_until 15 reads_past $((at + 1)) || true
}

# The screen positions of the three digit panels (129 x 33 pixels of black), top to bottom, as
# "X Y" lines.
digit_panels() {
  convert "$1" -fill white +opaque black -define connected-components:verbose=true \
    -define connected-components:area-threshold=1000 -connected-components 4 null: 2>/dev/null |
    awk '$2 ~ /^129x33[+]/ { split($2, at, "+"); print at[2], at[3] }' | sort -n -k2
}

# digits_expected COLOUR NUMBER FAN OUT: fan FAN's digit panel as the program draws it, from the
# bitmaps built into ORLO.EXE: each image covers its left neighbour's margin with the panel's
# black, and its silver ground is see-through.
digits_expected() {
  colour="$1" number="$2" fan="$3" out="$4"
  set -- -size 129x33 xc:black
  i=0
  for x in 0 24 48 72 97; do
    if [ "$fan" = 2 ] && [ "$x" = 97 ]; then x=96; fi
    digit="$(printf '%s' "$number" | cut -c$((i + 1)))"
    set -- "$@" -fill black -draw "rectangle $x,0 $((x + 31)),31" \
      "(" "$RESOURCES/$colour$digit.bmp" -transparent "rgb(192,192,192)" ")" \
      -geometry "+$x+0" -composite
    i=$((i + 1))
  done
  convert "$@" "$out"
}

# expect_digits SCREENSHOT FAN COLOUR NUMBER: the panel shows exactly those digits.
expect_digits() {
  panel="$(digit_panels "$1" | sed -n "$(($2 + 1))p")"
  if [ -z "$panel" ]; then
    expect_eq "fan $2 shows $3 $4" "no digit panel on the screen" "$3 $4"
    return
  fi
  digits_expected "$3" "$4" "$2" "$ORLO_PREFIX/expected.png"
  convert "$1" -crop "129x33+${panel% *}+${panel#* }" +repage "$ORLO_PREFIX/actual.png"
  differ="$(compare -metric AE "$ORLO_PREFIX/expected.png" "$ORLO_PREFIX/actual.png" null: 2>&1)" ||
    true
  expect_eq "fan $2 shows $3 $4 (pixels that differ)" "$differ" 0
}

# fan_pictures FAN COUNT: how many different pictures fan FAN's animation shows in COUNT
# screenshots taken one after the other (the picture lies 70 pixels left of the digits and 14
# pixels above them).
fan_pictures() {
  panel="$(digit_panels "$SHOT" | sed -n "$(($1 + 1))p")"
  x=$((${panel% *} - 70)) y=$((${panel#* } - 14))
  n=0
  while [ "$n" -lt "$2" ]; do
    "$ORLO_TOOLS/screenshot.sh" "$ORLO_PREFIX/frame.png"
    convert "$ORLO_PREFIX/frame.png" -crop "65x65+$x+$y" +repage rgb:- | md5sum
    sleep 0.1
    n=$((n + 1))
  done | sort -u | wc -l
}

orlo_install_monitor "$DIST"
# A tick every second: many ticks while the window is in the tray.
orlo_ini_set "$INI" INTERVAL VALUE 1000
orlo_start_session

echo "the monitor in the tray on the demo board"
orlo_start_monitor 0
orlo_wait_until 60 in_tray || true
expect_match "main window hidden in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'

echo "the readings change three times while it is in the tray"
# Fans 1500000 / count RPM; DDR VTT (VIN4) and 5VSB (VIN6, divided by 46 and 10) 8 mV a step.
board FanCount REG_BINARY B4D2C8
board Voltage REG_BINARY 707070707070707070
sleep 8
board FanCount REG_BINARY D2AA00
board Voltage REG_BINARY 70707070A070B07070
sleep 8
board FanCount REG_BINARY C8BE00
board Voltage REG_BINARY 70707070C0709070A0
sleep 8
two_ticks
expect_match "still in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'

echo "restored by a second start"
orlo_second_start
orlo_wait_until 10 shown || true
expect_match "main window shown" "$(windows)" '^visible .*[(]ORLO[)]'
sleep 1
"$ORLO_TOOLS/screenshot.sh" "$SHOT"
cp "$SHOT" "$SHOTS/monitor_catchup_restored.png"
expect_digits "$SHOT" 0 GREEN 07500
expect_digits "$SHOT" 1 GREEN 07894
expect_digits "$SHOT" 2 GREEN 00000
expect_match "DDR VTT shows its latest value" "$(orlo_control ORLO Edit '1.536 V')" '^visible'
expect_match "5VSB shows its latest value" "$(orlo_control ORLO Edit '6.451 V')" '^visible'
expect_eq "no earlier DDR VTT value" "$(orlo_control ORLO Edit '1.280 V')" absent
expect_eq "CPU FAN turns" "$([ "$(fan_pictures 0 8)" -gt 1 ] && echo turns)" turns
expect_eq "Power FAN stands still" "$(fan_pictures 2 8)" 1

echo "minimised by the user into the tray, the readings change, restored by a second start"
expect_eq "minimised" "$(wine "$SYSCOMMAND" '(ORLO)' minimize 2>/dev/null | tr -d '\r')" 1
sleep 1
expect_match "hidden in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'
board Voltage REG_BINARY 7070707090709070A0
two_ticks
two_ticks
orlo_second_start
orlo_wait_until 10 shown || true
sleep 1
expect_match "DDR VTT shows its latest value" "$(orlo_control ORLO Edit '1.152 V')" '^visible'
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_catchup_unminimised.png"

echo "the exit message; a new start with the action Ignore"
wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
expect_eq "the monitor ends" "$(running && echo running)" ""
orlo_wait_monitor
board FanCount -
board Voltage -
orlo_ini_set "$INI" SYSTEM "Action when exceed the limitations" Ignore
rm -f "$PROGRAM/log.txt"
orlo_start_monitor 0
orlo_wait_until 60 in_tray || true
expect_match "main window hidden in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'
sleep 5
expect_match "still in the tray" "$(windows)" '^hidden .*[(]ORLO[)]'

echo "CPU FAN above its high limit (15000 RPM) brings the window up"
board FanCount REG_BINARY 64E6F0
orlo_wait_until 15 shown || true
expect_match "main window shown" "$(windows)" '^visible .*[(]ORLO[)]'
sleep 1
"$ORLO_TOOLS/screenshot.sh" "$SHOT"
cp "$SHOT" "$SHOTS/monitor_catchup_alarm.png"
expect_digits "$SHOT" 0 RED 15000
expect_digits "$SHOT" 1 GREEN 06521
expect_match "the alarm is logged" "$(cat "$PROGRAM/log.txt")" \
  "Your 'CPU FAN' Speed exceed the limit , Action when exceed the limitations: Ignore"

echo "back in range, with the window shown"
board FanCount -
two_ticks
"$ORLO_TOOLS/screenshot.sh" "$SHOT"
expect_digits "$SHOT" 0 GREEN 06000

wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
expect_eq "the exit message ends the monitor" "$(running && echo running)" ""
if ended; then orlo_wait_monitor; fi

if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
