#!/bin/sh
# Runs every tests/wine/test_*.sh against a Windows build, each in its own fresh Windows XP
# prefix under <build>/wine-tests/, under a virtual display (started here when there is none).
# The prefixes take the build's architecture: 32-bit for build/win, 64-bit for build/win64.
#   tests/wine/run-all.sh <windows-build-dir> [test-name-pattern]
# Prefixes of failed tests are kept for inspection, with the test's output in output.txt. A test
# that cannot apply to this build ends with status 77 after its reason (orlo_skip); the summary
# counts it as skipped and repeats the reason.
set -eu

HERE="$(cd "$(dirname "$0")" && pwd)"
ORLO_TOOLS="$(cd "$HERE/../../tools/wine" && pwd)"
TOOLS="$ORLO_TOOLS"
. "$TOOLS/common.sh"
orlo_arguments 1 2 "$0 <windows-build-dir> [pattern]" "$@"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

BUILD="$(cd "$1" && pwd)"
orlo_take_build_arch "$BUILD"
PATTERN="${2:-}"
WORK="$BUILD/wine-tests"
TEMPLATE="$WORK/template"
TIMEOUT="${ORLO_WINE_TEST_TIMEOUT:-600}"

mkdir -p "$WORK"
# One fresh prefix is made once and copied for each test: creating one takes far longer.
start=$(date +%s)
"$TOOLS/prefix.sh" "$TEMPLATE"
echo "$ORLO_WINE_ARCH prefix ready in $(($(date +%s) - start)) s"

passed=0
failed=0
skipped=0
skip_reasons=""
for test in "$HERE"/test_*.sh; do
  name="$(basename "$test" .sh)"
  case "$name" in *"$PATTERN"*) ;; *) continue ;; esac
  dir="$WORK/$name"
  rm -rf "$dir"
  cp -a "$TEMPLATE" "$dir"
  start=$(date +%s)
  echo "== $name"
  status=0
  timeout "$TIMEOUT" sh "$test" "$BUILD" "$dir" >"$WORK/$name.txt" 2>&1 || status=$?
  case "$status" in
    0) result=passed ;;
    77) result=skipped ;;
    *) result=failed ;;
  esac
  cat "$WORK/$name.txt"
  (orlo_wine_env "$dir" && wineserver -k >/dev/null 2>&1) || true
  echo "== $name $result ($(($(date +%s) - start)) s)"
  if [ "$result" = skipped ]; then
    skipped=$((skipped + 1))
    reason="$(sed -n 's/^  skip //p' "$WORK/$name.txt" | tail -n 1)"
    skip_reasons="$skip_reasons; $name: ${reason:-no reason given}"
    rm -rf "$dir" "$WORK/$name.txt"
  elif [ "$result" = passed ]; then
    passed=$((passed + 1))
    rm -rf "$dir" "$WORK/$name.txt"
  else
    failed=$((failed + 1))
    mv "$WORK/$name.txt" "$dir/output.txt"
  fi
done

rm -rf "$TEMPLATE"
echo "$ORLO_WINE_ARCH ($BUILD): $passed passed, $failed failed, $skipped skipped${skip_reasons:+ (${skip_reasons#; })}"
[ "$failed" -eq 0 ]
