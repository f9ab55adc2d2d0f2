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

orlo_finish() {
  wineserver -k >/dev/null 2>&1 || true
  [ "$ORLO_FAILURES" -eq 0 ]
}
