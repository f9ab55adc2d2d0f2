# Sourced after common.sh (and orlo_wine_env): running ORLO.EXE in a prefix.
#   orlo_install_monitor <distdir>   dist/ of a Windows build into the program folder
#   orlo_start_session               persistent wineserver (the driver stays loaded), its
#                                    services and desktop started with their output discarded
#   orlo_start_monitor [ARGS]        starts ORLO.EXE in the background; its pid in ORLO_PID
#   orlo_wait_until SECONDS CMD...   runs CMD every half second until it succeeds (status 0)
#   orlo_wait_monitor                waits for the started monitor; its exit code in ORLO_STATUS

ORLO_PROGRAM_DIR='C:\Program Files\ZARVO\ORLO'
ORLO_EXE="$ORLO_PROGRAM_DIR\\ORLO.EXE"

orlo_install_monitor() {
  target="$WINEPREFIX/drive_c/Program Files/ZARVO/ORLO"
  mkdir -p "$target"
  cp "$1"/* "$target/"
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

orlo_wait_monitor() {
  ORLO_STATUS=0
  wait "$ORLO_PID" || ORLO_STATUS=$?
}
