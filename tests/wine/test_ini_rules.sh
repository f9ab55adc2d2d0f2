#!/bin/sh
# The INI access rules give the same results on the real private-profile functions as on the
# simulated machine: the host tests' table of cases, run by a Windows program.
. "$(dirname "$0")/lib.sh"

dir="$WINEPREFIX/drive_c/probe"
mkdir -p "$dir"
cp "$(orlo_artifact ini_rules_probe.exe)" "$dir/"
out="$(wine 'C:\probe\ini_rules_probe.exe' 'C:\probe\rules.ini' 2>/dev/null | tr -d '\r')"
expect_match "every case agrees" "$out" '^[0-9]+ passed, 0 failed$'
printf '%s\n' "$out" | grep FAILED || true

orlo_finish
