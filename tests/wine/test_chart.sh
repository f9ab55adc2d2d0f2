#!/bin/sh
# The chart's real window: a fan curve of 131 points aligned to the bottom of a form, and a
# duty-cycle curve of 21 points filling its window. The probe checks the charts' places, the
# screen cursor and that nothing is drawn needlessly; here, on a screenshot, the red line lies
# where its values say: from the first point on the left axis to the last on the right edge,
# 0 RPM on the bottom axis and 3000 RPM at 3000/3500 of the plot's height.
. "$(dirname "$0")/lib.sh"
. "$ORLO_TOOLS/monitor.sh"

SHOTS="$ORLO_BUILD/screenshots"
mkdir -p "$SHOTS"
WINDOW_STATE="$(orlo_artifact window_state.exe)"
orlo_start_session
orlo_start_probe chart_probe.exe
out="$PROBE_OUT"
expect_eq "the probe's checks all ran" "$(grep -c '^ok' "$out")" 9
expect_eq "none failed" "$(grep -c '^FAIL' "$out")" 0
expect_eq "both windows shown" \
  "$(wine "$WINDOW_STATE" 'Chart probe' 2>/dev/null | tr -d '\r' | grep -c '^visible ')" 2

shot="$SHOTS/chart_probe.png"
"$ORLO_TOOLS/screenshot.sh" "$shot"
origin="$(orlo_desktop_origin)"
[ -n "$origin" ] || origin="0 0"

# The bounding box "W H X Y" of the pixels of one colour in an image; empty when there are none.
box_of() {
  convert "$1" -fill black +opaque "$2" -format '%@' info: 2>/dev/null |
    sed -n 's/^\([0-9]*\)x\([0-9]*\)+\([0-9]*\)+\([0-9]*\)$/\1 \2 \3 \4/p'
}
count_of() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace gray \
    -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

# check_chart NAME: crops the chart out of the screenshot and measures its line against its
# back wall (the white plot area inside the axes' frame).
check_chart() {
  place="$(tr -d '\r' <"$out" | sed -n "s/^chart $1 //p")"
  if [ -z "$place" ]; then
    expect_eq "$1 chart's place reported" "" "a place"
    return
  fi
  set -- "$1" $place
  crop="$SHOTS/chart_$1.png"
  convert "$shot" -crop "${4}x${5}+$((${origin% *} + $2))+$((${origin#* } + $3))" +repage "$crop"
  wall="$(box_of "$crop" white)"
  line="$(box_of "$crop" red)"
  if [ -z "$wall" ] || [ -z "$line" ]; then
    expect_eq "$1 chart shows a back wall and a red line" "wall '$wall' line '$line'" "both"
    return
  fi
  set -- "$1" $wall $line
  # Wall (interior): $2 x $3 at $4,$5; line: $6 x $7 at $8,$9.
  left=$(($4 - 1)) right=$(($4 + $2)) bottom=$(($5 + $3))
  top3000=$((bottom - (3000 * ($3 + 1) + 1750) / 3500))
  expect_eq "$1: line starts on the left axis" "$8" "$left"
  expect_eq "$1: line ends on the right edge" "$(($8 + $6 - 1))" "$right"
  expect_eq "$1: 0 RPM on the bottom axis" "$(($9 + $7 - 1))" "$bottom"
  expect_eq "$1: 3000 RPM at its height" \
    "$([ $(($9 - top3000)) -ge -1 ] && [ $(($9 - top3000)) -le 1 ] && echo yes)" yes
  expect_eq "$1: a line across the plot" "$([ "$(count_of "$crop" red)" -ge "$2" ] && echo yes)" yes
}
check_chart fan
check_chart duty

orlo_stop_probe

orlo_finish
