#!/bin/sh
# Builds the host side (simulated machine, tests) into build/host and the Windows side
# (ORLO.EXE, SETUP.EXE, the stand-in driver and overlay library, the Wine test programs) twice:
# for 32-bit Windows into build/win (what ships, in build/win/dist) and for x86_64 into
# build/win64 (the test vehicle where no 32-bit program runs).
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
for target in win:i686 win64:x86_64; do
  cmake -S "$root" -B "$root/build/${target%:*}" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${target#*:}.cmake" >/dev/null
  cmake --build "$root/build/${target%:*}" -j "$jobs"
done
