#!/bin/sh
# The removal started by hand from a command prompt, with real clicks on "&Yes". First from a
# folder outside any program folder (a copy of SETUP.EXE in C:\S): the copy gets no base folder,
# so the program files stay, but the registry entries, the shortcut and the driver file go. Then
# from a prompt in the program folder itself: the copy works in the temporary folder, so the
# program folder and ZARVO go with the files. The prefix is not restarted after the
# installation, so the driver is not loaded and its file can go.
. "$(dirname "$0")/monitor_lib.sh"

UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZarvoORLO'
DRIVER="$WINEPREFIX/drive_c/windows/system32/drivers/ZarvoORLO.SYS"
OTHER="$WINEPREFIX/drive_c/S"

# Whether a process of this prefix runs whose command line matches PATTERN (grep -E).
runs() {
  for pid in $(pgrep -f "$1" || true); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" &&
      return 0
  done
  return 1
}
first_stage_ended() { ! runs 'SETUP\.EXE -UNINSTALL'; }
copy_ended() { ! runs 'uninst[0-9]+\.exe'; }
installed() { wine reg query "$UNINSTALL_KEY" >/dev/null 2>&1; }
uninstalled() { ! installed; }
zarvo_gone() { [ ! -d "$WINEPREFIX/drive_c/Program Files/ZARVO" ]; }
# uninstall_from_prompt FOLDER CONDITION...: a prompt in FOLDER (a Unix path in the prefix,
# which Wine takes as the working folder) runs SETUP.EXE -UNINSTALL there; after a real click on
# "&Yes" the test waits up to 30 s for CONDITION (what the copy does), then for the copy's end.
uninstall_from_prompt() {
  (cd "$1" && timeout 120 wine cmd /c SETUP.EXE -UNINSTALL >/dev/null 2>&1 </dev/null) &
  shift
  orlo_click_shown Uninstall Button '&Yes' first_stage_ended || echo "  Yes did not end it"
  orlo_wait_until 30 "$@" || true
  orlo_wait_until 60 copy_ended || echo "  the copy did not end"
  wait $! || true
}

orlo_start_session
orlo_setup_install "$DIST" || echo "  the installation did not end"
expect_eq "installed" "$(installed && [ -f "$DRIVER" ] && echo installed)" installed

echo "SETUP.EXE -UNINSTALL from a prompt in C:\\S"
mkdir -p "$OTHER"
cp "$DIST/SETUP.EXE" "$OTHER/"
uninstall_from_prompt "$OTHER" uninstalled
expect_eq "the uninstall entry removed" "$(uninstalled && echo removed)" removed
expect_eq "the driver file removed" "$([ -f "$DRIVER" ] || echo removed)" removed
expect_eq "no base folder: the program files stay" "$(ls "$PROGRAM" | tr '\n' ' ')" \
  "A920.INI B910.INI C930.INI N70.INI ORLO.EXE ORLO.INI SETUP.EXE WARNING.WAV skelvarind.dll "

echo "SETUP.EXE -UNINSTALL from a prompt in the program folder"
uninstall_from_prompt "$PROGRAM" zarvo_gone
expect_eq "the program files removed" "$(ls -A "$PROGRAM" 2>/dev/null | tr '\n' ' ')" ""
expect_eq "the program folder and ZARVO removed" "$(zarvo_gone && echo removed)" removed

orlo_finish
