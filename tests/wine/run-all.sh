#!/bin/sh
# Runs every tests/wine/test_*.sh against a Windows build, each in its own fresh Windows XP
# prefix under <build>/wine-tests/, under a virtual display (started here when there is none).
#   tests/wine/run-all.sh <windows-build-dir> [test-name-pattern]
# Prefixes of failed tests are kept for inspection, with the test's output in output.txt.
set -eu

[ $# -ge 1 ] || { echo "usage: $0 <windows-build-dir> [pattern]" >&2; exit 64; }
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

HERE="$(cd "$(dirname "$0")" && pwd)"
TOOLS="$HERE/../../tools/wine"
BUILD="$(cd "$1" && pwd)"
PATTERN="${2:-}"
WORK="$BUILD/wine-tests"
TEMPLATE="$WORK/template"
TIMEOUT="${ORLO_WINE_TEST_TIMEOUT:-600}"

mkdir -p "$WORK"
# One fresh prefix is made once and copied for each test: creating one takes far longer.
start=$(date +%s)
"$TOOLS/prefix.sh" "$TEMPLATE"
echo "prefix ready in $(($(date +%s) - start)) s"

passed=0
failed=0
for test in "$HERE"/test_*.sh; do
  name="$(basename "$test" .sh)"
  case "$name" in *"$PATTERN"*) ;; *) continue ;; esac
  dir="$WORK/$name"
  rm -rf "$dir"
  cp -a "$TEMPLATE" "$dir"
  start=$(date +%s)
  echo "== $name"
  if timeout "$TIMEOUT" sh "$test" "$BUILD" "$dir" >"$WORK/$name.txt" 2>&1; then
    result=passed
  else
    result=failed
  fi
  cat "$WORK/$name.txt"
  (. "$TOOLS/common.sh" && orlo_wine_env "$dir" && wineserver -k >/dev/null 2>&1) || true
  echo "== $name $result ($(($(date +%s) - start)) s)"
  if [ "$result" = passed ]; then
    passed=$((passed + 1))
    rm -rf "$dir" "$WORK/$name.txt"
  else
    failed=$((failed + 1))
    mv "$WORK/$name.txt" "$dir/output.txt"
  fi
done

rm -rf "$TEMPLATE"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
