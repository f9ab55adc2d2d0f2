# Sourced after common.sh (and orlo_wine_env): running ORLO.EXE in a prefix.
#   orlo_install_monitor <distdir>   installs dist/ of a Windows build with its SETUP.EXE (real
#                                    clicks; under a display), the demo board INI as after its
#                                    smart fan's first start, and restarts the prefix, so that
#                                    the stand-in driver loads
#   orlo_registers_hex REG=VALUE...  the 256 chip registers as the hex digits of the driver's
#                                    `Registers` value: the given ones set, all others 0
#   orlo_start_session               persistent wineserver (the driver stays loaded), its
#                                    services and desktop started with their output discarded
#   orlo_start_monitor [ARGS]        starts ORLO.EXE in the background; its pid in ORLO_PID
#   orlo_wait_until SECONDS CMD...   runs CMD every half second until it succeeds (status 0)
#   orlo_wait_monitor                waits for the started monitor; its exit code in ORLO_STATUS
#   orlo_second_start                starts ORLO.EXE again: the running one restores its window
#   orlo_kept_prefix <tools-dir> <prefixdir> <distdir>
#                                    a prefix kept between runs with the build installed, made
#                                    anew when it is missing or holds another ORLO.EXE or
#                                    driver; its environment set (orlo_wine_env)

ORLO_PROGRAM_DIR='C:\Program Files\ZARVO\ORLO'
ORLO_EXE="$ORLO_PROGRAM_DIR\\ORLO.EXE"

orlo_install_monitor() {
  : "${ORLO_FIND_CONTROL:=$(cd "$1/.." && pwd)/tests/wine/find_control.exe}"
  orlo_setup_install "$1" || {
    echo "orlo_install_monitor: SETUP.EXE did not install from $1" >&2
    return 1
  }
  # With a [FINTEK] section a start does not stop at the question whether to load the BIOS's
  # smart-fan configuration; a test of the first start copies the shipped A920.INI back.
  orlo_ini_set "$WINEPREFIX/drive_c/Program Files/ZARVO/ORLO/A920.INI" FINTEK ENABLED 4
  # The restart the installer asks for.
  orlo_wine_quiet wineboot -r </dev/null
  wineserver -w
}

orlo_kept_prefix() {
  installed="$2/drive_c/Program Files/ZARVO/ORLO"
  if [ -f "$2/system.reg" ] && cmp -s "$3/ORLO.EXE" "$installed/ORLO.EXE" &&
    cmp -s "$3/ZarvoORLO.SYS" "$2/drive_c/windows/system32/drivers/ZarvoORLO.SYS"; then
    orlo_wine_env "$2"
    return 0
  fi
  # Another build is installed anew in a new prefix: the installer cannot overwrite the driver
  # file of the old one, which Wine holds mapped while the driver is loaded.
  echo "making the prefix $2"
  "$1/prefix.sh" "$2"
  orlo_wine_env "$2"
  echo "installing with SETUP.EXE"
  orlo_install_monitor "$3"
}

orlo_registers_hex() {
  awk -v spec="$*" 'BEGIN {
    for (i = 0; i < 256; i++) reg[i] = "00"
    n = split(spec, parts, " ")
    for (i = 1; i <= n; i++) {
      split(parts[i], kv, "=")
      r = 0; h = toupper(kv[1])
      for (j = 1; j <= length(h); j++) r = r * 16 + index("0123456789ABCDEF", substr(h, j, 1)) - 1
      reg[r] = toupper(kv[2])
    }
    for (i = 0; i < 256; i++) printf "%s", reg[i]
    print ""
  }'
}

# Programs Wine starts along with the first one of a session (winedevice, explorer) keep its
# output open: started inside a pipe or $(...), they would hold it open for ever.
orlo_start_session() {
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

orlo_start_monitor() {
  timeout "${ORLO_MONITOR_TIMEOUT:-120}" wine "$ORLO_EXE" "$@" >/dev/null 2>&1 &
  ORLO_PID=$!
}

orlo_wait_until() {
  deadline=$(($(date +%s) + $1))
  shift
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.5
  done
}

orlo_second_start() {
  timeout 30 wine "$ORLO_EXE" >/dev/null 2>&1 || true
}

orlo_wait_monitor() {
  ORLO_STATUS=0
  wait "$ORLO_PID" || ORLO_STATUS=$?
}

# Board INI edits and real mouse clicks for the monitor's scenario tests.
#   orlo_ini_set FILE SECTION KEY VALUE  sets KEY in [SECTION] (added at its end when absent,
#                                    the section at the file's end), keeping the line ends
#   orlo_desktop_origin              where the Wine virtual desktop lies on the X screen: "X Y"
#   orlo_click X Y                   a real left click at a point of the Windows screen
#   orlo_control TITLE CLASS TEXT    find_control.exe's line for a control ($ORLO_FIND_CONTROL)
#   orlo_click_control TITLE CLASS TEXT  clicks the centre of a shown control; fails otherwise
orlo_ini_set() {
  awk -v section="[$2]" -v key="$3" -v value="$4" '
    { line = $0; cr = sub(/\r$/, "", line) ? "\r" : ""; if (cr != "") eol = cr }
    line ~ /^\[/ {
      if (inside && !done) { print key "=" value eol; done = 1 }
      inside = line == section
      if (inside) seen = 1
    }
    inside && index(line, key "=") == 1 { if (!done) print key "=" value cr; done = 1; next }
    { print }
    END {
      if (!done && !seen) print section eol
      if (!done) print key "=" value eol
    }
  ' "$1" >"$1.new"
  mv "$1.new" "$1"
}

orlo_desktop_origin() {
  xdotool search --name ' - Wine desktop$' getwindowgeometry --shell 2>/dev/null |
    awk -F= '$1 == "X" { x = $2 } $1 == "Y" { y = $2 } END { if (x != "") print x, y }'
}

orlo_click() {
  origin="$(orlo_desktop_origin)"
  [ -n "$origin" ] || { echo "no Wine desktop window on $DISPLAY" >&2; return 1; }
  # No --sync: it waits many seconds when the pointer already stands at the point.
  xdotool mousemove $((${origin% *} + $1)) $((${origin#* } + $2)) click 1
}

orlo_control() {
  wine "$ORLO_FIND_CONTROL" "$@" 2>/dev/null | tr -d '\r'
}

orlo_click_control() {
  # shellcheck disable=SC2046 # the line's fields
  set -- $(orlo_control "$@")
  [ "${1:-}" = visible ] || return 1
  orlo_click "$6" "$7"
}

# SETUP.EXE driven by real clicks.
#   orlo_setup_start DISTDIR [ARGS]   starts DISTDIR/SETUP.EXE in the background (pid in
#                                     ORLO_SETUP_PID); ORLO_FIND_CONTROL must be set
#   orlo_click_shown TITLE CLASS TEXT CONDITION...
#                                     once the control shows, clicks it with a real click, then
#                                     waits until CONDITION holds (the next page, say)
#   orlo_setup_install DISTDIR        the usual installation: Next, Next, "later", Finish
#   orlo_setup_wait [SECONDS]         waits for the started installer to end (status in
#                                     ORLO_SETUP_STATUS; 124 when it did not end in time)

orlo_setup_start() {
  _setup_dist="$1"
  shift
  timeout "${ORLO_SETUP_TIMEOUT:-120}" wine "$_setup_dist/SETUP.EXE" "$@" >/dev/null 2>&1 &
  ORLO_SETUP_PID=$!
}

orlo_control_shown() {
  orlo_control "$@" | grep -q '^visible'
}

orlo_click_shown() {
  _shown_title="$1" _shown_class="$2" _shown_text="$3"
  shift 3
  orlo_wait_until 30 orlo_control_shown "$_shown_title" "$_shown_class" "$_shown_text" &&
    orlo_click_control "$_shown_title" "$_shown_class" "$_shown_text" &&
    orlo_wait_until 30 "$@"
}

orlo_setup_wait() {
  _setup_deadline=$(($(date +%s) + ${1:-60}))
  while kill -0 "$ORLO_SETUP_PID" 2>/dev/null; do
    if [ "$(date +%s)" -ge "$_setup_deadline" ]; then
      ORLO_SETUP_STATUS=124
      return 1
    fi
    sleep 0.5
  done
  ORLO_SETUP_STATUS=0
  wait "$ORLO_SETUP_PID" || ORLO_SETUP_STATUS=$?
}

orlo_setup_ended() {
  ! kill -0 "$ORLO_SETUP_PID" 2>/dev/null
}

orlo_setup_install() {
  orlo_setup_start "$1"
  orlo_click_shown Welcome Button '&Next >' \
    orlo_control_shown 'Choose Destination Location' Button '&Next >' &&
    orlo_click_shown 'Choose Destination Location' Button '&Next >' \
      orlo_control_shown Finish Button '&Finish' &&
    orlo_click_shown Finish Button 'No, I will restart my computer later.' \
      orlo_radio_checked Finish 'No, I will restart my computer later.' &&
    orlo_click_shown Finish Button '&Finish' orlo_setup_ended &&
    orlo_setup_wait 30
}

# A radio button or check box of a shown window is checked.
orlo_radio_checked() {
  [ "$(orlo_control "$1" Button "$2" | awk '{ print $8 }')" = 1 ]
}
