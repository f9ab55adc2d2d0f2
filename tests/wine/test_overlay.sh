#!/bin/sh
# The stand-in skelvarind.dll exports the seven functions by their plain names and records each
# call, with its arguments, in the file named by SKELVARIND_LOG.
. "$(dirname "$0")/lib.sh"

dir="$WINEPREFIX/drive_c/probe"
mkdir -p "$dir"
cp "$(orlo_artifact overlay_probe.exe)" "$(orlo_artifact skelvarind.dll)" "$dir/"

out="$(SKELVARIND_LOG='C:\probe\calls.txt' wine 'C:\probe\overlay_probe.exe' 2>/dev/null | tr -d '\r')"
expect_eq "all seven found and called" "$out" done
expect_eq "one line per call, in order" "$(tr -d '\r' <"$dir/calls.txt" | tr '\n' '|')" \
  "InitInstance|SetItems 1 0 1|SetCPUTemperature -5|SetCPUVCore 1.52V|ShowTranslucentForm|HideTranslucentForm|DestoryInstance|"

rm -f "$dir/calls.txt"
wine 'C:\probe\overlay_probe.exe' >/dev/null 2>&1
expect_eq "no log without SKELVARIND_LOG" "$(ls "$dir")" "overlay_probe.exe
skelvarind.dll"

orlo_finish
