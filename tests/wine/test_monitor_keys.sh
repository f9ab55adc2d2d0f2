#!/bin/sh
# The main window from the real keyboard: on the Fan page the focus is in no read-only value box
# and Tab never reaches one; Alt+C brings the password prompt as a click on the "&Configure" tab
# does; on the Configure page Tab skips the read-only limit edits, and the arrow key up on a
# focused limit up-down changes that limit, which the board INI keeps; Alt+F goes back to the
# Fan page.
. "$(dirname "$0")/monitor_lib.sh"

INI="$PROGRAM/A920.INI"
DESKTOP_STATE="$(orlo_artifact desktop_state.exe)"

prompt_shown() { windows Password | grep -Eq '^visible [0-9]+x[0-9]+ Password$'; }
prompt_gone() { ! prompt_shown; }
configure_page() { orlo_control ORLO Button 'CPU FAN : ' | grep -q '^visible'; }
fan_page() { orlo_control ORLO Static 'CPU : ' | grep -q '^visible'; }
focus() { wine "$DESKTOP_STATE" focus 2>/dev/null | tr -d '\r'; }
limits() { tr -d '\r' <"$INI" | grep 'LIMIT='; }
limits_changed() { [ "$(limits)" != "$1" ]; }
press() { xdotool key --delay 80 "$@"; }

# tab_walk COUNT STOP: presses Tab up to COUNT times, until the focus's class is STOP (none: all
# COUNT); prints each focus line.
tab_walk() {
  n=0
  while [ "$n" -lt "$1" ]; do
    press Tab
    sleep 0.2
    line="$(focus)"
    echo "$line"
    case "$line" in "focus $2 "*) return 0 ;; esac
    n=$((n + 1))
  done
}

orlo_install_monitor "$DIST"
orlo_ini_set "$INI" SYSTEM PWD Secret
orlo_start_session

orlo_open_main_window
orlo_wait_until 5 fan_page || true
expect_eq "the main window shown on the Fan page" "$(fan_page && echo yes)" yes
sleep 1

echo "the Fan page"
expect_eq "the focus is in no read-only edit" "$(focus | grep -c ' readonly ')" 0
walk="$(tab_walk 8 none)"
echo "$walk" | sed 's/^/    /'
expect_eq "Tab reaches no read-only edit" "$(echo "$walk" | grep -c ' readonly ')" 0

echo "Alt+C"
press alt+c
orlo_wait_until 10 prompt_shown || true
expect_match "the password prompt" "$(windows Password)" '^visible [0-9]+x[0-9]+ Password$'
xdotool type --delay 80 Secret
press Return
orlo_wait_until 10 prompt_gone || true
orlo_wait_until 5 configure_page || true
expect_eq "the right password opens the Configure page" "$(configure_page && echo yes)" yes
sleep 1

echo "Tab on the Configure page, to the first limit up-down"
walk="$(tab_walk 20 msctls_updown32)"
echo "$walk" | sed 's/^/    /'
expect_eq "Tab reaches no read-only limit edit" "$(echo "$walk" | grep -c ' readonly ')" 0
expect_match "it reaches a limit up-down" "$(echo "$walk" | tail -n 1)" '^focus msctls_updown32 '
"$ORLO_TOOLS/screenshot.sh" "$SHOTS/monitor_keys_configure.png"
before="$(limits)"
press Up
orlo_wait_until 5 limits_changed "$before" || true
echo "  limits before: $(echo "$before" | tr '\n' ' ')"
echo "  limits after:  $(limits | tr '\n' ' ')"
expect_eq "the arrow key changed one limit, saved" \
  "$(printf '%s\n' "$before" | diff - "$(limits >"$ORLO_PREFIX/limits"; echo "$ORLO_PREFIX/limits")" |
    grep -c '^>')" 1

echo "Alt+F"
press alt+f
orlo_wait_until 5 fan_page || true
expect_eq "back on the Fan page" "$(fan_page && echo yes)" yes

orlo_exit_and_finish
