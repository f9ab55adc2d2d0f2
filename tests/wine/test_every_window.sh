#!/bin/sh
# Every window of both programs, in each state it has, on the real windows: the installer's pages
# and folder chooser, then (installed by it, after the restart that loads the stand-in driver)
# the monitor's main window on each page without a logo and with one, the warning window for an
# alarm of each kind, the attention dialog, both password windows and the duty-cycle window
# during and after its sweep. For every visible control the audit checks that it lies inside its
# parent's client area, that nothing drawn above it covers its text, that its text fits in the
# font its window draws with, that an edit shows its first character, and that its visibility,
# enabling, tab stop, read-only state and font are the model's. A picture of each window goes to
# screenshots/audit/.
. "$(dirname "$0")/monitor_lib.sh"

AUDIT_SHOTS="$SHOTS/audit"
rm -rf "$AUDIT_SHOTS"
mkdir -p "$AUDIT_SHOTS"
PICTURES="$WINEPREFIX/drive_c/audit"
mkdir -p "$PICTURES"
# The distribution where an installer runs from, with the audit beside SETUP.EXE.
cp -r "$DIST" "$WINEPREFIX/drive_c/dist"
cp "$(orlo_artifact setup_audit.exe)" "$WINEPREFIX/drive_c/dist/"
MONITOR_AUDIT="$(orlo_artifact monitor_audit.exe)"

# audit NAME PROGRAM ARGS...: runs one audit; its lines show in the output, prefixed.
audit() {
  _name="$1"
  shift
  _status=0
  timeout 300 wine "$@" >"$ORLO_PREFIX/$_name.txt" 2>/dev/null </dev/null || _status=$?
  tr -d '\r' <"$ORLO_PREFIX/$_name.txt" | sed 's/^/  | /'
  expect_eq "$_name: the audit ran to its end" \
    "$(tr -d '\r' <"$ORLO_PREFIX/$_name.txt" | grep -c '^audit: ')" 1
  expect_eq "$_name: no audit failure" \
    "$(tr -d '\r' <"$ORLO_PREFIX/$_name.txt" | sed -n 's/^audit: //p')" "0 failures"
  expect_eq "$_name: exit status" "$_status" 0
}

orlo_start_session
echo "SETUP.EXE's windows"
audit setup 'C:\dist\setup_audit.exe' 'C:\audit'
audit setup_remove 'C:\dist\setup_audit.exe' -UNINSTALL 'C:\audit'

echo "ORLO.EXE's windows, on the demo board after the restart"
# A [FINTEK] section: the start asks no question about the BIOS's smart-fan configuration.
orlo_ini_set "$PROGRAM/A920.INI" FINTEK ENABLED 4
# The widest limit text: "100°C/212°F".
orlo_ini_set "$PROGRAM/A920.INI" TEMP2 "HIGH LIMIT" 100
wineserver -k
orlo_wine_quiet wineboot -r </dev/null
wineserver -w
orlo_start_session
cp "$MONITOR_AUDIT" "$PROGRAM/"
audit monitor "$ORLO_PROGRAM_DIR\\monitor_audit.exe" 'C:\audit' plain

echo "ORLO.EXE's pages with the board's logo"
convert -size 300x56 xc:navy -fill gold -draw 'rectangle 12,12 120,44' \
  -fill white -draw 'circle 200,28 220,28' "BMP3:$PROGRAM/logo.bmp"
for kv in ENABLED=1 FILENAME=logo.bmp HEIGHT=56 CENTER=1 URL=http://www.example.com/; do
  orlo_ini_set "$PROGRAM/A920.INI" LOGO "${kv%%=*}" "${kv#*=}"
done
audit monitor_logo "$ORLO_PROGRAM_DIR\\monitor_audit.exe" 'C:\audit' logo pages

for picture in "$PICTURES"/*.bmp; do
  [ -f "$picture" ] || continue
  convert "$picture" "$AUDIT_SHOTS/$(basename "$picture" .bmp).png"
done
expect_eq "pictures of the windows" "$(ls "$AUDIT_SHOTS" | grep -c png)" \
  "$(cat "$ORLO_PREFIX/setup.txt" "$ORLO_PREFIX/setup_remove.txt" "$ORLO_PREFIX/monitor.txt" \
    "$ORLO_PREFIX/monitor_logo.txt" | tr -d '\r' | grep -Ec '^(ok|FAIL) [^ ]+ [^ ]+: [0-9]+ controls')"
orlo_finish
