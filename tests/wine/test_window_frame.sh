#!/bin/sh
# The windows under a caption taller than the classic one, as the Windows XP style draws it: the
# installer's wizard and folder chooser and the monitor's main window keep the client area their
# layouts were made for, and the bottom edge of their lowest control lies inside it.
. "$(dirname "$0")/monitor_lib.sh"

running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }
shown() { windows '(ORLO)' | grep -q '^visible'; }
shot() { "$ORLO_TOOLS/screenshot.sh" "$SHOTS/$1.png"; }

# window TITLE WIDTHxHEIGHT CLASS TEXT
# The shown top-level window whose title contains TITLE: its caption and frame are higher than
# the classic 25 pixels (else the metric did not take and nothing is proved), its client area is
# WIDTHxHEIGHT, and the control of that class and text ends inside the client area.
window() {
  # visible <width>x<height> <client left> <top> <right> <bottom> <title>
  read -r state outer left top right bottom _ <<EOF
$(wine "$WINDOW_STATE" -client "$1" 2>/dev/null | tr -d '\r' | grep '^visible' | head -n 1)
EOF
  if [ "$state" != visible ]; then
    expect_eq "$1: the window shows" absent visible
    return
  fi
  expect_eq "$1: caption and frame higher than the classic 25 px" \
    "$([ $((${outer#*x} - (bottom - top))) -gt 25 ] && echo yes)" yes
  expect_eq "$1: client area" "$((right - left))x$((bottom - top))" "$2"
  # visible <left> <top> <right> <bottom> ...
  read -r state _ _ control_right control_bottom _ <<EOF
$(orlo_control "$1" "$3" "$4")
EOF
  expect_eq "$1: $3 '$4' ends inside the client area" \
    "$([ "$state" = visible ] && [ "$control_right" -le "$right" ] &&
      [ "$control_bottom" -le "$bottom" ] && echo yes)" yes
}

# 25 pixels (375 twips) of caption bar as in the Windows XP style, in place of Wine's 18.
orlo_wine_quiet wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v CaptionHeight \
  /d -375 /f
wineserver -w
orlo_install_monitor "$DIST"
orlo_start_session

echo "SETUP.EXE: the wizard and its folder chooser"
orlo_setup_start "$DIST"
orlo_wait_until 30 orlo_control_shown Welcome Button '&Next >' || true
# The page control: its tab row above the client area, its bottom edge on the client's.
window Welcome 386x198 SysTabControl32 ''
shot frame_setup_welcome
orlo_click_shown Welcome Button '&Next >' \
  orlo_control_shown 'Choose Destination Location' Button 'B&rowser..' || echo "  no next page"
orlo_click_shown 'Choose Destination Location' Button 'B&rowser..' \
  orlo_control_shown 'Choose Directory' Button 'Ok' || echo "  no folder chooser"
window 'Choose Directory' 228x283 Button Ok
shot frame_setup_chooser
orlo_click_shown 'Choose Directory' Button 'Cancel' \
  orlo_control_shown 'Choose Destination Location' Button 'Cancel' || echo "  the chooser stayed"
orlo_click_shown 'Choose Destination Location' Button 'Cancel' orlo_setup_ended ||
  echo "  Cancel did not end it"
orlo_setup_wait 30 || true

echo "ORLO.EXE: the main window on the Fan page"
orlo_start_monitor 0
orlo_wait_until 60 in_tray || echo "  the monitor did not reach the tray"
orlo_second_start
orlo_wait_until 10 shown || true
# The pages fill the client area.
window '(ORLO)' 377x351 SysTabControl32 ''
shot frame_monitor

wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || kill "$ORLO_PID" 2>/dev/null || true
orlo_finish
