#!/bin/sh
# Runs every test: the host tests, once more under AddressSanitizer and UBSan, and the Windows
# builds' tests under Wine on virtual displays: the 32-bit build (build/win) in 32-bit prefixes
# and the x86_64 build (build/win64) in 64-bit prefixes, side by side, where this machine runs
# 32-bit x86 programs; the x86_64 build alone where it does not (one line says so).
# ORLO_WINE_ARCH=win32 or win64 runs one of the two alone.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh" --sanitize
echo "== host tests"
ctest --test-dir "$root/build/host" --output-on-failure -j8
echo "== host tests under AddressSanitizer and UBSan"
ctest --test-dir "$root/build/host-asan" --output-on-failure -j8

ORLO_TOOLS="$root/tools/wine"
. "$ORLO_TOOLS/common.sh"
roads="$(orlo_wine_roads "$root/build")"
set -- $roads
if [ $# -eq 1 ]; then
  echo "== Windows build under Wine: $1 ($(orlo_road_build "$1"))"
  exec "$root/tests/wine/run-all.sh" "$root/$(orlo_road_build "$1")"
fi

# Both roads at once, each on a virtual display of its own; every line says its road, and each
# road's summary line is repeated at the end.
echo "== Windows builds under Wine: $roads, side by side"
for road in $roads; do
  (
    status=0
    env -u DISPLAY "$root/tests/wine/run-all.sh" "$root/$(orlo_road_build "$road")" 2>&1 ||
      status=$?
    echo "$status" >"$root/build/wine-$road.status"
  ) | tee "$root/build/wine-$road.log" | sed -u "s/^/$road| /" &
done
wait
echo "== Wine summary"
failed=0
for road in $roads; do
  status="$(cat "$root/build/wine-$road.status" 2>/dev/null || echo 1)"
  rm -f "$root/build/wine-$road.status"
  tail -n 1 "$root/build/wine-$road.log"
  [ "$status" -eq 0 ] || { echo "Wine tests of $road failed (output in build/wine-$road.log)" >&2; failed=1; }
done
exit "$failed"
