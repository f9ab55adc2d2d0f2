#!/bin/sh
# The monitor's warning window and attention dialog on real windows: the probe checks the
# stacking of their controls (texts over the attention dialog's frame), the labels' bold and
# large fonts and that their texts fit. Here, on a screenshot, each of the attention dialog's
# labels shows on the dialog's ground: mostly not black, as it was under a frame drawn over it.
. "$(dirname "$0")/lib.sh"
. "$ORLO_TOOLS/monitor.sh"

SHOTS="$ORLO_BUILD/screenshots"
mkdir -p "$SHOTS"
orlo_start_session
orlo_start_probe alarm_windows_probe.exe
out="$PROBE_OUT"
expect_eq "the probe's checks all ran" "$(grep -c "^ok\|^FAIL" "$out")" 28
expect_eq "none failed" "$(grep -c '^FAIL' "$out")" 0

shot="$SHOTS/alarm_windows.png"
"$ORLO_TOOLS/screenshot.sh" "$shot"
origin="$(orlo_desktop_origin)"
[ -n "$origin" ] || origin="0 0"

# The share of a label's place on the screenshot that is not black, in per cent.
not_black() {
  convert "$shot" -crop "${3}x${4}+$((${origin% *} + $1))+$((${origin#* } + $2))" +repage \
    -colorspace gray -threshold 10% -format '%[fx:round(mean*100)]' info: 2>/dev/null
}
for label in LabelAttention LabelText1 LabelText2 Label1; do
  place="$(tr -d '\r' <"$out" | sed -n "s/^label $label //p")"
  # shellcheck disable=SC2086 # the place's four numbers
  share="$([ -n "$place" ] && not_black $place)"
  expect_eq "$label shows on the dialog's ground (${share:-?} % not black)" \
    "$([ "${share:-0}" -ge 60 ] && echo yes)" yes
done

orlo_stop_probe

orlo_finish
