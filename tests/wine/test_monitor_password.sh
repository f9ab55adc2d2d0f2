#!/bin/sh
# The settings password on the real ORLO.EXE: a real click on the "&Configure" tab brings the
# prompt up; a wrong password typed on the keyboard with Enter shows "Password Error" and keeps
# the prompt; the right one opens the page. Then the change-password window of the Setup page
# takes a new password typed with Enter in both edits, and the board INI keeps it. A real Alt+F4
# (the system's close, WM_CLOSE) on the prompt is "Cancel": back on the Fan page, never on the
# Configure page without the password; on the change-password window it is "Cancel" too:
# nothing changes.
. "$(dirname "$0")/monitor_lib.sh"

INI="$PROGRAM/A920.INI"

main_shown() { orlo_control ORLO tab '&Configure' | grep -q '^visible'; }
# The prompt's title is "Password" exactly; the other window's is "Change Password".
prompt_shown() { windows Password | grep -Eq '^visible [0-9]+x[0-9]+ Password$'; }
prompt_gone() { ! prompt_shown; }
change_shown() { windows 'Change Password' | grep -q '^visible'; }
change_gone() { ! change_shown; }
error_box() { orlo_control ORLO Static 'Password Error'; }
error_shown() { error_box | grep -q '^visible'; }
error_gone() { ! error_shown; }
set_password_shown() { orlo_control ORLO Button 'Set Password' | grep -q '^visible'; }
configure_page() { orlo_control ORLO Button 'CPU FAN : ' | grep -q '^visible'; }
not_configure_page() { ! configure_page; }
# The Fan page's name label of the CPU temperature.
fan_page() { orlo_control ORLO Static 'CPU : ' | grep -q '^visible'; }
stored() { tr -d '\r' <"$INI" | sed -n 's/^PWD=//p'; }
reads() { v="$("$ORLO_TOOLS/board-get.sh" "$ORLO_PREFIX" Count_22200C)"; echo $((${v:-0})); }
running() { kill -0 "$ORLO_PID" 2>/dev/null; }
ended() { ! running; }
# Keys typed on the X keyboard go to the window that Wine has active.
type_keys() { xdotool type --delay 80 "$1"; }
press() { xdotool key --delay 80 "$@"; }

orlo_install_monitor "$DIST"
orlo_ini_set "$INI" SYSTEM PWD Secret
orlo_ini_set "$INI" INTERVAL VALUE 1000
orlo_start_session

orlo_start_monitor 0
orlo_wait_until 30 in_tray || true
orlo_second_start
orlo_wait_until 10 main_shown || true
expect_match "the main window shown" "$(windows ORLO)" '^visible .*[(]ORLO[)]'

echo "a real click on the &Configure tab"
orlo_click_control ORLO tab '&Configure' || echo "  no Configure tab to click"
orlo_wait_until 10 prompt_shown || true
expect_match "the prompt" "$(windows Password)" '^visible [0-9]+x[0-9]+ Password$'
expect_match "its group" "$(orlo_control Password Button 'Input Password')" '^visible'

echo "a wrong password (the right one in small letters), typed, and Enter"
type_keys secret
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_password_prompt.png"
press Return
orlo_wait_until 10 error_shown || true
expect_match "Password Error" "$(error_box)" '^visible'
expect_match "the prompt stays" "$(windows Password)" '^visible [0-9]+x[0-9]+ Password$'
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_password_error.png"
reads_under_prompt="$(reads)"
# The board's polling interval is 3 s: a tick comes within two of them.
polled() { [ "$(reads)" -gt "$reads_under_prompt" ]; }
orlo_wait_until 7 polled || true
expect_eq "the polling goes on under the prompt" "$(polled && echo yes)" yes
press Return
orlo_wait_until 5 error_gone || true
expect_eq "Enter closes the box" "$(error_shown && echo shown)" ""
expect_match "the prompt still there" "$(windows Password)" '^visible [0-9]+x[0-9]+ Password$'

echo "the right password: the typed text is still there, so it is erased first"
press BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
type_keys Secret
press Return
orlo_wait_until 10 prompt_gone || true
expect_eq "the prompt closes" "$(prompt_shown && echo shown)" ""
expect_eq "on the Configure page" "$(configure_page && echo yes)" yes
expect_eq "no error box" "$(error_shown && echo shown)" ""

echo "the prompt closed by the system: Alt+F4 goes back to the Fan page, as Cancel"
orlo_click_control ORLO tab '&Fan' || echo "  no Fan tab to click"
orlo_wait_until 5 not_configure_page || true
orlo_click_control ORLO tab '&Configure' || echo "  no Configure tab to click"
orlo_wait_until 10 prompt_shown || true
expect_match "the prompt again" "$(windows Password)" '^visible [0-9]+x[0-9]+ Password$'
type_keys Sec
press alt+F4
orlo_wait_until 10 prompt_gone || true
expect_eq "Alt+F4 closes the prompt" "$(prompt_shown && echo shown)" ""
orlo_wait_until 10 fan_page || true
expect_eq "on the Fan page" "$(fan_page && echo yes)" yes
expect_eq "not on the Configure page" "$(configure_page && echo yes)" ""
expect_eq "the monitor goes on" "$(running && echo running)" running
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_password_alt_f4.png"
echo "the Configure tab asks again"
orlo_click_control ORLO tab '&Configure' || echo "  no Configure tab to click"
orlo_wait_until 10 prompt_shown || true
expect_match "the prompt once more" "$(windows Password)" '^visible [0-9]+x[0-9]+ Password$'
press Escape
orlo_wait_until 10 prompt_gone || true
orlo_wait_until 10 fan_page || true
expect_eq "Esc (Cancel) goes back to the Fan page" "$(fan_page && echo yes)" yes

echo "the change-password window from the Setup page"
orlo_click_control ORLO tab '&Setup' || echo "  no Setup tab to click"
orlo_wait_until 5 set_password_shown || true
orlo_click_control ORLO Button 'Set Password' || echo "  no Set Password button to click"
orlo_wait_until 10 change_shown || true
expect_match "the window" "$(windows 'Change Password')" '^visible'
expect_match "its groups" "$(orlo_control 'Change Password' Button 'Confirm New Password')" \
  '^visible'
type_keys abc
press Return
type_keys abc
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_change_password.png"
press Return
orlo_wait_until 10 change_gone || true
expect_eq "Enter in the confirmation accepts" "$(change_shown && echo shown)" ""
expect_eq "the board INI keeps the new password" "$(stored)" abc

echo "the change-password window closed by the system: Alt+F4 changes nothing"
orlo_click_control ORLO Button 'Set Password' || echo "  no Set Password button to click"
orlo_wait_until 10 change_shown || true
expect_match "the window again" "$(windows 'Change Password')" '^visible'
type_keys xyz
press Return
type_keys xyz
press alt+F4
orlo_wait_until 10 change_gone || true
expect_eq "Alt+F4 closes it" "$(change_shown && echo shown)" ""
sleep 1
expect_eq "the password stays" "$(stored)" abc
expect_eq "the monitor goes on" "$(running && echo running)" running

wine "$BROADCAST" EXITZarvoORLO >/dev/null 2>&1
orlo_wait_until 15 ended || true
expect_eq "the exit message ends the monitor" "$(running && echo running)" ""
expect_eq "the final save keeps it" "$(stored)" abc

if running; then kill "$ORLO_PID" 2>/dev/null || true; fi
orlo_finish
