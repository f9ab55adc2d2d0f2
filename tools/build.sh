#!/bin/sh
# Builds the host side (simulated machine, tests) into build/host and the Windows side
# (ORLO.EXE, the stand-in driver and overlay library, the Wine test programs) into build/win.
#   --sanitize   also a host copy with AddressSanitizer and UBSan in build/host-asan
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 4)
cmake -S "$root" -B "$root/build/host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/host" -j "$jobs"
if [ "${1:-}" = "--sanitize" ]; then
  cmake -S "$root" -B "$root/build/host-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLO_SANITIZE=ON >/dev/null
  cmake --build "$root/build/host-asan" -j "$jobs"
fi
cmake -S "$root" -B "$root/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win" -j "$jobs"
