#!/bin/sh
# Builds the host side (simulated machine, tests) into build/host and, with --sanitize, a second
# copy with AddressSanitizer and UBSan into build/host-asan.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build/host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/host"
if [ "${1:-}" = "--sanitize" ]; then
  cmake -S "$root" -B "$root/build/host-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLO_SANITIZE=ON >/dev/null
  cmake --build "$root/build/host-asan"
fi
