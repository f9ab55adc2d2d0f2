# Sourced by the Wine tests: test_<name>.sh <windows-build-dir> <prefixdir>
# The prefix is a fresh Windows XP prefix (tools/wine/prefix.sh); the display is set.
set -eu

ORLO_ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
ORLO_TOOLS="$ORLO_ROOT/tools/wine"
ORLO_BUILD="$(cd "$1" && pwd)"
ORLO_PREFIX="$2"
. "$ORLO_TOOLS/common.sh"
orlo_wine_env "$ORLO_PREFIX"
ORLO_FAILURES=0

# Path of a built file in the build tree, by file name.
orlo_artifact() {
  orlo_build_file "$ORLO_BUILD" "$1" || exit 1
}

# expect_eq DESCRIPTION ACTUAL EXPECTED
expect_eq() {
  if [ "$2" = "$3" ]; then
    echo "  ok   $1"
  else
    echo "  FAIL $1: got '$2', expected '$3'"
    ORLO_FAILURES=$((ORLO_FAILURES + 1))
  fi
}

# expect_match DESCRIPTION TEXT PATTERN (grep -E, one line of TEXT must match)
expect_match() {
  if printf '%s\n' "$2" | grep -Eq -- "$3"; then
    echo "  ok   $1"
  else
    echo "  FAIL $1: no line matches '$3' in:"
    printf '%s\n' "$2" | sed 's/^/         /'
    ORLO_FAILURES=$((ORLO_FAILURES + 1))
  fi
}

# Ends a test that cannot apply to this build, with the reason; run-all.sh counts it as skipped.
#   orlo_skip REASON
orlo_skip() {
  echo "  skip $1"
  wineserver -k >/dev/null 2>&1 || true
  exit 77
}

# A window probe of tests/wine: a program that shows real windows, prints "ok ..." or "FAIL ..."
# per check and then "ready", and keeps its windows up until its stop file exists. Started from
# C:\probe in the background (after orlo_start_session; orlo_wait_until comes from monitor.sh),
# its check lines shown once it is ready; its whole output in PROBE_OUT.
#   orlo_start_probe EXE      orlo_stop_probe (expects it to end with no failure)
orlo_start_probe() {
  PROBE_DIR="$WINEPREFIX/drive_c/probe"
  PROBE_OUT="$PROBE_DIR/out.txt"
  mkdir -p "$PROBE_DIR"
  cp "$(orlo_artifact "$1")" "$PROBE_DIR/"
  timeout 180 wine "C:\\probe\\$1" 'C:\probe\stop' >"$PROBE_OUT" 2>/dev/null &
  PROBE_PID=$!
  orlo_wait_until 90 orlo_probe_ready || true
  tr -d '\r' <"$PROBE_OUT" | grep -E '^(ok|FAIL) ' | sed 's/^/  probe: /'
}

orlo_probe_ready() {
  grep -q '^ready' "$PROBE_OUT" 2>/dev/null
}

orlo_stop_probe() {
  touch "$PROBE_DIR/stop"
  _probe_status=0
  wait "$PROBE_PID" || _probe_status=$?
  expect_eq "the probe ends with no failure" "$_probe_status" 0
}

orlo_finish() {
  wineserver -k >/dev/null 2>&1 || true
  [ "$ORLO_FAILURES" -eq 0 ]
}
