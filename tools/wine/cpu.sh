#!/bin/sh
# Measures the CPU that ORLO.EXE of a Windows build takes under Wine on the stand-in driver's demo
# board, in two states one after the other: sitting in the tray, then with its window shown on the
# Fan page. An idle Notepad runs all the while in a prefix of its own, so that both programs have
# their own wineserver and the figures of one run, under the machine's load of the moment, can be
# compared. CPU is user plus system time from /proc (all threads, ended ones included). Both
# prefixes take the build's architecture (32-bit for build/win, 64-bit for build/win64), and the
# figures say which build they measured.
# The build is installed with its SETUP.EXE when the prefix does not hold it yet.
#   tools/wine/cpu.sh <windows-build-dir> [seconds]        (seconds per state, default 60)
# Prints one line per state:
#   <state> <ORLO.EXE %> <its wineserver %> <Notepad %> <its wineserver %> <program ratio> <wineserver ratio>
# state "tray" or "fanpage"; the ratios are ORLO's figures over Notepad's ("-" when Notepad's is
# 0). The prefixes, <build>/cpu-prefixes/orlo and .../notepad, are kept (the first made anew when
# it holds another build). With DISPLAY unset it runs on a virtual display (Xvfb).
set -eu

. "$(dirname "$0")/common.sh"
orlo_arguments 1 2 "$0 <windows-build-dir> [seconds]" "$@"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

TOOLS="$(cd "$(dirname "$0")" && pwd)"
BUILD="$(cd "$1" && pwd)"
PER_STATE="${2:-60}"
case "$PER_STATE" in '' | *[!0-9]*) echo "$0: seconds must be a whole number" >&2; exit 2 ;; esac
DIST="$BUILD/dist"
WORK="$BUILD/cpu-prefixes"
ORLO_PFX="$WORK/orlo"
NOTEPAD_PFX="$WORK/notepad"
. "$TOOLS/monitor.sh"
orlo_take_build_arch "$BUILD"

[ -f "$DIST/SETUP.EXE" ] || { echo "$0: no $DIST/SETUP.EXE (build the dist target)" >&2; exit 1; }
BROADCAST="$(orlo_build_file "$BUILD" broadcast.exe)"
WINDOW_STATE="$(orlo_build_file "$BUILD" window_state.exe)"
ORLO_FIND_CONTROL="$(orlo_build_file "$BUILD" find_control.exe)"

# --- the two prefixes ----------------------------------------------------------------------
mkdir -p "$WORK"
orlo_kept_prefix "$TOOLS" "$ORLO_PFX" "$DIST"
if [ ! -f "$NOTEPAD_PFX/system.reg" ]; then
  echo "making the prefix $NOTEPAD_PFX"
  "$TOOLS/prefix.sh" "$NOTEPAD_PFX"
fi

# --- processes and their CPU ---------------------------------------------------------------
TICKS_PER_SECOND="$(getconf CLK_TCK)"

# The pid of a process of prefix $1 whose command's file name is $2 (any case, "wineserver" also
# for its "wineserver32"); empty if none.
process_of() {
  for dir in /proc/[0-9]*; do
    [ -r "$dir/environ" ] || continue
    tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qxF "WINEPREFIX=$1" || continue
    command="$(tr '\0' '\n' 2>/dev/null <"$dir/cmdline" | head -n 1)" || continue
    name="$(printf '%s\n' "$command" | sed 's|.*[\\/]||' | tr '[:upper:]' '[:lower:]')"
    case "$name" in wineserver32 | wineserver64) name=wineserver ;; esac
    if [ "$name" = "$2" ]; then
      echo "${dir#/proc/}"
      return 0
    fi
  done
}

# User plus system clock ticks of a process so far (field 14 and 15 of its stat line, counted
# after the command name, which may hold blanks).
cpu_ticks() {
  sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null | awk '{ print $12 + $13 }'
}

# --- the run ---------------------------------------------------------------------------------
cleanup() {
  (orlo_wine_env "$ORLO_PFX" && wineserver -k >/dev/null 2>&1) || true
  (orlo_wine_env "$NOTEPAD_PFX" && wineserver -k >/dev/null 2>&1) || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "starting an idle Notepad"
(
  orlo_wine_env "$NOTEPAD_PFX"
  orlo_start_session
  wine notepad >/dev/null 2>&1 &
)

echo "starting ORLO.EXE on the demo board"
orlo_wine_env "$ORLO_PFX"
orlo_start_session
# The previous run's log would be trimmed at the start: a fresh one every run.
rm -f "$WINEPREFIX/drive_c/Program Files/ZARVO/ORLO/log.txt"
ORLO_MONITOR_TIMEOUT=$((2 * PER_STATE + 120))
orlo_start_monitor 0

windows() { wine "$WINDOW_STATE" ORLO 2>/dev/null | tr -d '\r'; }
in_tray() { windows | grep -Eq '^hidden .*[(]ORLO[)]'; }
shown() { windows | grep -Eq '^visible [1-9].*[(]ORLO[)]'; }
orlo_wait_until 60 in_tray || { echo "$0: ORLO.EXE did not reach the tray" >&2; exit 1; }

orlo_pid="$(process_of "$ORLO_PFX" orlo.exe)"
orlo_server="$(process_of "$ORLO_PFX" wineserver)"
notepad_pid="$(process_of "$NOTEPAD_PFX" notepad.exe)"
notepad_server="$(process_of "$NOTEPAD_PFX" wineserver)"
for pid in "$orlo_pid" "$orlo_server" "$notepad_pid" "$notepad_server"; do
  [ -n "$pid" ] || { echo "$0: a process to measure was not found" >&2; exit 1; }
done

# measure STATE: sleeps PER_STATE seconds and prints the state's line.
measure() {
  set -- "$1" "$orlo_pid" "$orlo_server" "$notepad_pid" "$notepad_server"
  start="$(date +%s.%N)"
  before="$(cpu_ticks "$2") $(cpu_ticks "$3") $(cpu_ticks "$4") $(cpu_ticks "$5")"
  sleep "$PER_STATE"
  after="$(cpu_ticks "$2") $(cpu_ticks "$3") $(cpu_ticks "$4") $(cpu_ticks "$5")"
  end="$(date +%s.%N)"
  # A process that ended leaves a figure out.
  [ "$(echo $before $after | wc -w)" -eq 8 ] || { echo "$0: a measured process ended" >&2; exit 1; }
  echo "$1 $start $end $before $after" | awk -v hz="$TICKS_PER_SECOND" '
    function pct(ticks) { return 100 * ticks / hz / ($3 - $2) }
    function ratio(a, b) { return b > 0 ? sprintf("%.1f", a / b) : "-" }
    {
      orlo = $8 - $4; server = $9 - $5; notepad = $10 - $6; nserver = $11 - $7
      printf "%-8s %9.3f %11.3f %9.3f %11.3f %9s %11s\n", $1, pct(orlo), pct(server),
        pct(notepad), pct(nserver), ratio(orlo, notepad), ratio(server, nserver)
    }'
}

echo "ORLO.EXE of $(orlo_build_name "$ORLO_WINE_ARCH") ($BUILD) and an idle Notepad beside it,"
echo "CPU in % of one CPU over $PER_STATE s per state"
# Start-up work is over well before this.
sleep 5
printf '%-8s %9s %11s %9s %11s %9s %11s\n' state ORLO.EXE wineserver Notepad wineserver ratio \
  "srv-ratio"
measure tray
orlo_wine_quiet wine "$BROADCAST" OpenZarvoORLO
orlo_wait_until 30 shown || { echo "$0: the window did not show" >&2; exit 1; }
sleep 3
measure fanpage
echo "goal: tray at most 5 times Notepad's figure, Fan page under 1 %"

orlo_wine_quiet wine "$BROADCAST" EXITZarvoORLO
orlo_wait_monitor
