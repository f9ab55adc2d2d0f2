#!/bin/sh
# SETUP.EXE from a distribution folder that lacks skelvarind.dll: the copying page stays under
# the failure message "Copy skelvarind.dll fail !!" (a screenshot of the page with its bars)
# until a real click on OK, and the step goes on with every other file. Then the installed
# SETUP.EXE started with "-UNINSTALL": "No" leaves the installation as it is.
. "$(dirname "$0")/monitor_lib.sh"

FROM="$WINEPREFIX/drive_c/ORLO-DIST"
mkdir -p "$FROM"
cp "$DIST"/* "$FROM/"
rm "$FROM/skelvarind.dll"

shot() { "$ORLO_TOOLS/screenshot.sh" "$SHOTS/$1.png"; }
box_shown() { orlo_control_shown Setup Static 'Copy skelvarind.dll fail !!'; }

orlo_start_session
orlo_setup_start "$FROM"
orlo_click_shown Welcome Button '&Next >' \
  orlo_control_shown 'Choose Destination Location' Button '&Next >' || echo "  no destination"
orlo_click_shown 'Choose Destination Location' Button '&Next >' box_shown ||
  echo "  no failure message"
expect_match "the failure message" "$(orlo_control Setup Static 'Copy skelvarind.dll fail !!')" \
  '^visible'
expect_match "over the copying page, showing the file" \
  "$(orlo_control 'Copying Files' Static 'C:\ORLO-DIST\skelvarind.dll')" '^visible'
expect_match "and where it goes" \
  "$(orlo_control 'Copying Files' Static 'C:\Program Files\ZARVO\ORLO\skelvarind.dll')" '^visible'
shot setup_copying
orlo_click_shown Setup Button OK orlo_control_shown Finish Button '&Finish' ||
  echo "  the step did not go on"
orlo_click_shown Finish Button 'No, I will restart my computer later.' \
  orlo_radio_checked Finish 'No, I will restart my computer later.' || echo "  no later"
orlo_click_shown Finish Button '&Finish' orlo_setup_ended || echo "  Finish did not end it"
orlo_setup_wait 30 || true
expect_eq "the installer ends with code 0" "$ORLO_SETUP_STATUS" 0
expect_eq "every other file installed" "$(ls "$PROGRAM" | tr '\n' ' ')" \
  "A920.INI B910.INI C930.INI N70.INI ORLO.EXE ORLO.INI SETUP.EXE WARNING.WAV "

echo "SETUP.EXE -UNINSTALL, then No"
orlo_setup_start "$PROGRAM" -UNINSTALL
orlo_click_shown Uninstall Button '&No' orlo_setup_ended || echo "  No did not end it"
orlo_setup_wait 30 || true
expect_eq "No ends the installer" "$ORLO_SETUP_STATUS" 0
expect_eq "the installation stays" "$(ls "$PROGRAM" | tr '\n' ' ')" \
  "A920.INI B910.INI C930.INI N70.INI ORLO.EXE ORLO.INI SETUP.EXE WARNING.WAV "
expect_match "and its uninstall entry" \
  "$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZarvoORLO' \
    2>/dev/null | tr -d '\r')" 'UninstallString'

orlo_finish
