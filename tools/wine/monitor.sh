# Sourced after common.sh (and orlo_wine_env): running ORLO.EXE in a prefix.
#   orlo_install_monitor <distdir>   dist/ of a Windows build into the program folder, the demo
#                                    board INI as after its smart fan's first start
#   orlo_registers_hex REG=VALUE...  the 256 chip registers as the hex digits of the driver's
#                                    `Registers` value: the given ones set, all others 0
#   orlo_start_session               persistent wineserver (the driver stays loaded), its
#                                    services and desktop started with their output discarded
#   orlo_start_monitor [ARGS]        starts ORLO.EXE in the background; its pid in ORLO_PID
#   orlo_wait_until SECONDS CMD...   runs CMD every half second until it succeeds (status 0)
#   orlo_wait_monitor                waits for the started monitor; its exit code in ORLO_STATUS
#   orlo_second_start                starts ORLO.EXE again: the running one restores its window

ORLO_PROGRAM_DIR='C:\Program Files\ZARVO\ORLO'
ORLO_EXE="$ORLO_PROGRAM_DIR\\ORLO.EXE"

orlo_install_monitor() {
  target="$WINEPREFIX/drive_c/Program Files/ZARVO/ORLO"
  mkdir -p "$target"
  cp "$1"/* "$target/"
  # With a [FINTEK] section a start does not stop at the question whether to load the BIOS's
  # smart-fan configuration; a test of the first start copies the shipped A920.INI back.
  orlo_ini_set "$target/A920.INI" FINTEK ENABLED 4
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
