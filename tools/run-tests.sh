#!/bin/sh
# Runs every test: the host tests, once more under AddressSanitizer and UBSan, and the Windows
# build's tests under Wine on a virtual display.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh" --sanitize
echo "== host tests"
ctest --test-dir "$root/build/host" --output-on-failure -j8
echo "== host tests under AddressSanitizer and UBSan"
ctest --test-dir "$root/build/host-asan" --output-on-failure -j8
echo "== Windows build under Wine"
"$root/tests/wine/run-all.sh" "$root/build/win"
