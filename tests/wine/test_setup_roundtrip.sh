#!/bin/sh
# The installer's round trip with the real binaries: SETUP.EXE from the distribution folder,
# clicked through with real clicks (the folder chooser opened and cancelled on the way); the
# files, the driver, the service key, the Run value, the uninstall entry and ORLO.lnk on the
# all-users desktop; a restart of the prefix, after which the stand-in driver loads from the
# installer's own service key and the monitor starts from the Run value as stored, waits its
# 5 s, asks its first start's question and reaches the tray; then the uninstall entry's command as stored: confirmation, removal
# while the monitor runs (it ends on the exit message), nothing left but the temporary copy.
# Screenshots of every page it shows.
. "$(dirname "$0")/monitor_lib.sh"

SHELL_LINK_PROBE="$(orlo_artifact shell_link_probe.exe)"
RUN_STORED="$(orlo_artifact run_stored_command.exe)"
SERVICE_KEY='System\CurrentControlSet\Services\ZarvoORLO'
RUN_KEY='Software\Microsoft\Windows\CurrentVersion\Run'
UNINSTALL_KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\ZarvoORLO'
DRIVER="$WINEPREFIX/drive_c/windows/system32/drivers/ZarvoORLO.SYS"
LINK='C:\users\Public\Desktop\ORLO.lnk'
OUT="$ORLO_PREFIX/programs.txt"

# The data of a registry value as `reg query` shows it; empty when it is absent.
reg_value() {
  wine reg query "HKLM\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v name="$2" '$1 == name && $2 ~ /^REG_/ { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print; exit }'
}
key_exists() { wine reg query "HKLM\\$1" >/dev/null 2>&1; }
shot() { "$ORLO_TOOLS/screenshot.sh" "$SHOTS/$1.png"; }
# The ORLO.EXE processes of this prefix, with their command lines.
monitors() {
  for pid in $(pgrep -f 'ORLO\.EXE' || true); do
    # A process may end meanwhile: its /proc files are then gone (stderr first, to quieten that).
    if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" && echo
    fi
  done | grep -v '^timeout' || true
}
monitor_runs() { [ -n "$(monitors)" ]; }
# Wine loads a driver into winedevice.exe as a mapped file, which cannot be deleted while it is
# loaded (Windows keeps no such mapping of a loaded driver).
driver_mapped() {
  for pid in $(pgrep -f winedevice || true); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" &&
      grep -qi 'zarvoorlo\.sys' "/proc/$pid/maps" 2>/dev/null && return 0
  done
  return 1
}
monitor_gone() { [ -z "$(monitors)" ]; }
removed() { [ ! -d "$WINEPREFIX/drive_c/Program Files/ZARVO" ]; }

orlo_start_session

echo "SETUP.EXE from the distribution folder"
orlo_setup_start "$DIST"
orlo_wait_until 30 orlo_control_shown Welcome Button '&Next >' || true
shot setup_welcome
orlo_click_shown Welcome Button '&Next >' \
  orlo_control_shown 'Choose Destination Location' Button '&Next >' ||
  echo "  the destination page did not come"
expect_match "the destination page offers the default folder" \
  "$(orlo_control 'Choose Destination Location' Static 'C:\Program Files')" '^visible'
shot setup_destination
orlo_click_shown 'Choose Destination Location' Button 'B&rowser..' \
  orlo_control_shown 'Choose Directory' Button 'Ok' || echo "  no folder chooser"
expect_match "the chooser shows the default folder" \
  "$(orlo_control 'Choose Directory' ListBox 'C:\Program Files')" '^visible'
shot setup_folder_chooser
orlo_click_shown 'Choose Directory' Button 'Cancel' \
  orlo_control_shown 'Choose Destination Location' Button '&Next >' || echo "  the chooser stayed"
expect_match "Cancel keeps the folder" \
  "$(orlo_control 'Choose Destination Location' Static 'C:\Program Files')" '^visible'
orlo_click_shown 'Choose Destination Location' Button '&Next >' \
  orlo_control_shown Finish Button '&Finish' || echo "  the restart page did not come"
expect_match "the restart page offers a restart now" \
  "$(orlo_control Finish Button 'Yes, I want to restart my computer now.')" '^visible .* 1$'
shot setup_finish
orlo_click_shown Finish Button 'No, I will restart my computer later.' \
  orlo_radio_checked Finish 'No, I will restart my computer later.' || echo "  no later"
orlo_click_shown Finish Button '&Finish' orlo_setup_ended || echo "  Finish did not end it"
orlo_setup_wait 30 || true
expect_eq "the installer ends with code 0" "$ORLO_SETUP_STATUS" 0

echo "what it installed"
expect_eq "the program folder" "$(ls "$PROGRAM" | tr '\n' ' ')" \
  "A920.INI B910.INI C930.INI N70.INI ORLO.EXE ORLO.INI SETUP.EXE WARNING.WAV skelvarind.dll "
expect_eq "the monitor as built" "$(cmp -s "$DIST/ORLO.EXE" "$PROGRAM/ORLO.EXE" && echo same)" same
expect_eq "the driver in system32\\drivers" "$(cmp -s "$DIST/ZarvoORLO.SYS" "$DRIVER" && echo same)" \
  same
expect_eq "service Type" "$(reg_value "$SERVICE_KEY" Type)" 0x1
expect_eq "service Start" "$(reg_value "$SERVICE_KEY" Start)" 0x2
expect_eq "service ErrorControl" "$(reg_value "$SERVICE_KEY" ErrorControl)" 0x1
expect_eq "service DisplayName" "$(reg_value "$SERVICE_KEY" DisplayName)" ZarvoORLO
expect_eq "no ImagePath (the installer ran outside wow64)" "$(reg_value "$SERVICE_KEY" ImagePath)" ""
expect_eq "the Run value" "$(reg_value "$RUN_KEY" ZarvoORLO)" \
  '"C:\Program Files\Zarvo\ORLO\ORLO.EXE" "5000"'
expect_eq "the uninstall entry's name" "$(reg_value "$UNINSTALL_KEY" DisplayName)" \
  'Zarvo Velmara (ORLO)'
expect_eq "the uninstall entry's command" "$(reg_value "$UNINSTALL_KEY" UninstallString)" \
  '"C:\Program Files\Zarvo\ORLO\SETUP.EXE" "-UNINSTALL"'
expect_eq "ORLO.lnk on the all-users desktop" \
  "$(wine "$SHELL_LINK_PROBE" "$LINK" 2>/dev/null | tr -d '\r')" \
  'C:\Program Files\ZARVO\ORLO\ORLO.EXE|Velmara|5'

echo "the prefix restarts"
wineserver -k >/dev/null 2>&1 || true
orlo_wine_quiet wineboot -r </dev/null
wineserver -w
orlo_start_session
expect_eq "Windows itself starts no monitor" "$(monitors)" ""

echo "the Run value's command, as stored"
wine "$RUN_STORED" "$RUN_KEY" ZarvoORLO >"$OUT" 2>&1 </dev/null
expect_eq "the command run" "$(tr -d '\r' <"$OUT")" '"C:\Program Files\Zarvo\ORLO\ORLO.EXE" "5000"'
orlo_wait_until 10 monitor_runs || true
expect_match "the monitor started with its delay" "$(monitors)" 'ORLO\.EXE.* 5000'
sleep 3
expect_eq "still waiting out its 5 s" "$(windows ORLO)" absent
# Its first start on the board asks about the smart fan's BIOS settings.
orlo_wait_until 40 orlo_control_shown INFO Button '&Yes' || true
shot setup_monitor_first_start
orlo_click_shown INFO Button '&Yes' in_tray || echo "  no question answered"
orlo_wait_until 40 in_tray || true
expect_match "then in the tray" "$(windows ORLO)" '^hidden .*[(]ORLO[)]'
expect_match "reading the stand-in driver, loaded from the installer's key" \
  "$("$ORLO_TOOLS/board-get.sh" "$ORLO_PREFIX" Count_22200C)" '^0x[0-9a-f]+$'
shot setup_monitor_running

echo "the uninstall entry's command, as stored"
wine "$RUN_STORED" "$UNINSTALL_KEY" UninstallString >"$OUT" 2>&1 </dev/null
expect_eq "the command run" "$(tr -d '\r' <"$OUT")" \
  '"C:\Program Files\Zarvo\ORLO\SETUP.EXE" "-UNINSTALL"'
orlo_wait_until 30 orlo_control_shown Uninstall Button '&Yes' || true
expect_match "the confirmation" "$(windows Uninstall)" '^visible'
shot setup_uninstall
orlo_click_shown Uninstall Button '&Yes' monitor_gone || echo "  the monitor did not end"
orlo_wait_until 30 removed || true
expect_eq "the exit message ended the monitor" "$(monitors)" ""
expect_eq "the program folder and ZARVO removed" "$(removed && echo removed)" removed
if [ -f "$DRIVER" ] && driver_mapped; then
  echo "  note the driver file stays while Wine's winedevice.exe keeps the loaded driver mapped"
else
  expect_eq "the driver file removed" "$([ -f "$DRIVER" ] || echo removed)" removed
fi
expect_eq "the service key removed" "$(key_exists "$SERVICE_KEY" || echo removed)" removed
expect_eq "the Run value removed" "$(reg_value "$RUN_KEY" ZarvoORLO)" ""
expect_eq "the uninstall entry removed" "$(key_exists "$UNINSTALL_KEY" || echo removed)" removed
expect_eq "ORLO.lnk removed" \
  "$([ -f "$WINEPREFIX/drive_c/users/Public/Desktop/ORLO.lnk" ] || echo removed)" removed
wine cmd /c echo %TEMP% >"$OUT" 2>/dev/null </dev/null
temp="$(winepath -u "$(tr -d '\r' <"$OUT")" 2>/dev/null)"
expect_eq "the temporary copy uninst0.exe stays, the installer itself" \
  "$(cmp -s "$DIST/SETUP.EXE" "$temp/uninst0.exe" && echo same)" same

orlo_finish
